// The preview of the current entry and its picture information.
#include "ui/frmConsole.h"

#include "ui_frmConsole.h"

#include "engine/BitmapLocation.h"
#include "engine/EntryFile.h"
#include "engine/PictureIO.h"
#include "engine/PictureMeasures.h"

#include <QCursor>
#include <QMenu>

void frmConsole::kolekce_Click()
{
    QListWidgetItem* current = ui->kolekce->currentItem();
    const QString path = current ? current->text() : QString();
    loadPreview(current ? entryAt(current).bytes : QByteArray());
    ui->Label27->setText(path);
    GetBitmapInfo(ui->nahled->picture(), m_pictureWidth, m_pictureHeight, m_picturePlanes, m_pictureBits);
    ui->tapetainfo->setText(pictureInfoText(m_pictureWidth, m_pictureHeight, m_pictureBits));
}

void frmConsole::showPictureInfo()
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
    ui->nahled->clearPicture();
    ui->tapetainfo->setText(QString());
    ui->Label27->setText(QString());
}

void frmConsole::loadPreview(const QByteArray& entryBytes)
{
    if (entryBytes.isEmpty()) {
        ui->nahled->clearPicture();
        return;
    }
    // Decoding into the previous picture's buffer keeps one full picture in memory
    // and saves an allocation when the sizes match.
    QImage picture = ui->nahled->releasePicture();
    const EntryFile file(entryBytes);
    const bool loaded = !file.path().isEmpty() && loadPicture(file.path(), picture);
    if (!loaded && !loadPicture(errorPicturePath(*m_services.location), picture))
        picture = QImage();
    ui->nahled->setPicture(std::move(picture));
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
    QListWidgetItem* current = ui->kolekce->currentItem();
    ui->kolekce->setToolTip(current ? current->text() : QString());
}

void frmConsole::Label27_MouseMove()
{
    ui->Label27->setToolTip(ui->Label27->text());
}

void frmConsole::nahled_Click()
{
    mnuctx004->popup(QCursor::pos());
}
