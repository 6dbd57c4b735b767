// The preview of the current entry and its picture information.
#include "ui/frmConsole.h"

#include "ui_frmConsole.h"

#include "engine/BitmapLocation.h"
#include "engine/PictureMeasures.h"
#include "platform/FreedMemory.h"
#include "platform/PictureDecoder.h"

#include <QCursor>
#include <QMenu>

void frmConsole::kolekce_Click()
{
    finishAwaitedChange();
    const int current = currentRow();
    m_pictureLetGo = false;
    if (current < 0) {
        // Nothing to decode; an answer still on its way is stale.
        m_previewRequest = 0;
        m_previewDeferred = false;
        m_services.decoder->cancel();
        ui->nahled->clearPicture();
        showPreviewPicture(QString());
        return;
    }
    m_previewPath = m_collection->at(current).text;
    m_previewBytes = m_collection->at(current).bytes;
    requestPreviewPicture();
}

void frmConsole::requestPreviewPicture()
{
    // The picture is decoded beside the window, which goes on handling events; path,
    // picture and its measures change together once it is there. Meanwhile the box
    // goes on drawing the previous picture, whose buffer the decode may reuse.
    m_previewRequest = ++m_previewRequests;
    // Hidden, with no change near, the picture is wanted for its texts only: it is
    // decoded once the changes handed to the desktop have let their picture go, so the
    // decode reuses that memory rather than holding a second picture beside it.
    m_previewDeferred
        = m_sleeping && m_changesRunning > 0 && !m_pictureWantedNow && !m_startingUp && !pictureWantedSoon();
    if (!m_previewDeferred)
        sendPreviewRequest();
}

void frmConsole::sendPreviewRequest()
{
    m_previewDeferred = false;
    m_services.decoder->request(m_previewRequest, m_previewBytes, errorPicturePath(*m_services.location),
                                ui->nahled->releasePicture());
}

void frmConsole::previewDecoded(quint64 request, QImage picture)
{
    if (request != m_previewRequest || m_ended)
        return;
    m_previewRequest = 0;
    ui->nahled->setPicture(std::move(picture));
    showPreviewPicture(m_previewPath);
    if (m_changeAwaitsPicture) {
        m_changeAwaitsPicture = false;
        m_pictureWantedNow = false;
        std::exchange(m_pictureReady, {})();
        // Asked for while this one waited: made now, from the event loop.
        if (m_changeWaiting && m_listWork == 0) {
            m_changeWaiting = false;
            QMetaObject::invokeMethod(this, "changeNow_Click", Qt::QueuedConnection);
        }
        return;
    }
    if (m_sleeping && !m_pictureWantedNow && !pictureWantedSoon())
        letPictureGo();
}

void frmConsole::showPreviewPicture(const QString& path)
{
    ui->Label27->setText(path);
    showPictureMeasures();
}

void frmConsole::showPictureInfo()
{
    // A picture still being decoded gets its line when it arrives; one let go keeps its own.
    if (m_previewRequest != 0 || m_pictureLetGo)
        return;
    showPictureMeasures();
}

void frmConsole::showPictureMeasures()
{
    int width = 0;
    int height = 0;
    short planes = 0;
    short bits = 0;
    GetBitmapInfo(ui->nahled->picture(), width, height, planes, bits);
    ui->tapetainfo->setText(pictureInfoText(width, height, bits));
}

void frmConsole::clearPreview()
{
    finishAwaitedChange();
    m_pictureLetGo = false;
    m_previewRequest = 0;
    m_previewDeferred = false;
    m_services.decoder->cancel();
    ui->nahled->clearPicture();
    ui->tapetainfo->setText(QString());
    ui->Label27->setText(QString());
}

void frmConsole::letPictureGo()
{
    if (ui->nahled->picture().isNull())
        return;
    // The box keeps the small copy it drew, if any, to show while the picture comes back.
    ui->nahled->releasePicture();
    m_pictureLetGo = true;
    releaseFreedMemory();
    armAlarm();
}

void frmConsole::bringPictureBack()
{
    // The same entry once more, even when the list no longer holds it (a cancelled
    // "otevřít…" takes the chosen collection out): the path and the measures stay.
    if (!m_pictureLetGo)
        return;
    m_pictureLetGo = false;
    requestPreviewPicture();
}

void frmConsole::GetBitmapInfo(const QImage& picture, int& width, int& height, short& planes, short& bitsPerPixel) const
{
    const PictureMeasures measures = measurePicture(picture);
    width = measures.width;
    height = measures.height;
    planes = measures.planes;
    bitsPerPixel = measures.bitsPerPixel;
}

void frmConsole::kolekce_MouseMove()
{
    const int current = currentRow();
    ui->kolekce->setToolTip(current >= 0 ? m_collection->at(current).text : QString());
}

void frmConsole::Label27_MouseMove()
{
    ui->Label27->setToolTip(ui->Label27->text());
}

void frmConsole::nahled_Click()
{
    mnuctx004->popup(QCursor::pos());
}
