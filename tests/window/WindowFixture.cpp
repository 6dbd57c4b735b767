#include "WindowFixture.h"

#include "app/FirstPicture.h"

#include <QDir>
#include <QFile>
#include <QPalette>

WindowFixture::WindowFixture()
{
    location.installedDir = temp.filePath(QStringLiteral("installed"));
    QDir().mkpath(location.dir);
}

WindowFixture::~WindowFixture()
{
    window.reset();
}

frmConsole& WindowFixture::create(const QString& argumentText)
{
    window = std::make_unique<frmConsole>(services(), argumentText);
    return *window;
}

frmConsole& WindowFixture::start(const QString& argumentText)
{
    prepareFirstPicture(services(), argumentText);
    create(argumentText);
    window->Form_Load();
    return *window;
}

QString WindowFixture::text(const char* name) const
{
    if (auto* found = window->findChild<QLabel*>(QLatin1String(name)))
        return found->text();
    if (auto* edit = window->findChild<QLineEdit*>(QLatin1String(name)))
        return edit->text();
    if (auto* button = window->findChild<QAbstractButton*>(QLatin1String(name)))
        return button->text();
    ADD_FAILURE() << "no text control " << name;
    return {};
}

QColor WindowFixture::colour(const char* name) const
{
    return control<QWidget>(name)->palette().color(QPalette::Active, QPalette::WindowText);
}

bool WindowFixture::visible(const char* name) const
{
    QWidget* widget = control<QWidget>(name);
    return widget && widget->isVisibleTo(window.get()) && !widget->isHidden();
}

void WindowFixture::click(const char* name)
{
    QWidget* widget = control<QWidget>(name);
    ASSERT_NE(widget, nullptr);
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

void WindowFixture::doubleClick(const char* name)
{
    QWidget* widget = control<QWidget>(name);
    ASSERT_NE(widget, nullptr);
    const QPoint middle = widget->rect().center();
    QTest::mousePress(widget, Qt::LeftButton, {}, middle);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, middle);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, middle);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, middle);
}

QAction* WindowFixture::menuItem(const char* name) const
{
    return control<QAction>(name);
}

QStringList WindowFixture::entries() const
{
    QStringList all;
    for (int i = 0; i < listCount(); ++i)
        all << entryText(i);
    return all;
}

QList<int> WindowFixture::markedRows() const
{
    QList<int> rows;
    for (int i = 0; i < listCount(); ++i)
        if (list()->selectionModel()->isRowSelected(i))
            rows << i;
    return rows;
}

QString WindowFixture::makePicture(const QString& name, const QColor& fill, int width, int height) const
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(fill);
    QString file = path(name);
    EXPECT_TRUE(picture.save(file, "PNG"));
    return file;
}

QString WindowFixture::writeCollection(const QString& name, const QStringList& lines) const
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLocal8Bit() + "\r\n";
    QString file = path(name);
    QFile out(file);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    return file;
}

void WindowFixture::storeOption(const QString& key, const QString& value)
{
    settings.write(QStringLiteral("tapetor"), QStringLiteral("options"), key, value);
}

void WindowFixture::tick(qint64 milliseconds)
{
    clock.advanceMs(milliseconds);
    window->Timer1_Timer();
}
