#include "platform/qt/QtMessageBoxes.h"

#include <QMessageBox>

int QtMessageBoxes::show(QWidget* parent, const QString& text, const QString& title, int style)
{
    QMessageBox box(parent);
    box.setWindowTitle(title);
    // A lone carriage return joins two sentences; Qt only breaks lines at a line feed.
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // Messages name files, and a name may hold '<' or '&': never read them as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(shown);

    const bool yesNo = (style & 0x7) == 4;
    switch (style & 0x70) {
    case 16:
        box.setIcon(QMessageBox::Critical);
        break;
    case 32:
        box.setIcon(QMessageBox::Question);
        break;
    case 48:
        box.setIcon(QMessageBox::Warning);
        break;
    case 64:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    if (yesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int answer = box.exec();
    if (yesNo)
        return answer == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
    return MsgAnswer::Ok;
}
