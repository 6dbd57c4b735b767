// Pages, menus and hiding into the tray.
#include "WindowFixture.h"
#include "ui/ReadableColour.h"

#include <QApplication>
#include <QPalette>
#include <algorithm>
#include <cstdlib>

class Navigation : public WindowFixture { };

namespace {

// The colour a control's text is drawn in: of the pixels of its rendering, the one
// that stands out most from its background (the edges of the letters are blends).
QColor drawnTextColour(QWidget* widget)
{
    const QImage image = widget->grab().toImage();
    const QColor background = widget->palette().color(QPalette::Window);
    QColor text = background;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (contrastRatio(pixel, background) > contrastRatio(text, background))
                text = pixel;
        }
    }
    return text;
}

} // namespace

TEST_F(Navigation, SettingsPageReloadsTheStoredOptionsAndShowsAtThePageOrigin)
{
    start();
    control<QLineEdit>("Text1")->setText(QStringLiteral("5"));
    click("Label6");
    EXPECT_TRUE(visible("nastaveni"));
    EXPECT_EQ(control<QWidget>("nastaveni")->pos(), QPoint(8, 64));
    EXPECT_EQ(text("Text1"), QStringLiteral("60")) << "unsaved edits are gone when the page opens";
    click("Label34");
    EXPECT_FALSE(visible("nastaveni"));
    click("Image4");
    EXPECT_TRUE(visible("nastaveni"));
}

TEST_F(Navigation, ThePageHeaderSwitchIsNeverCovered)
{
    start();
    click("Label6");
    QWidget* header = control<QWidget>("Label14");
    const QPoint centre = header->mapTo(window.get(), header->rect().center());
    EXPECT_EQ(window->childAt(centre), header);
}

TEST_F(Navigation, MenusHoldTheirItemsInOrder)
{
    start();
    const auto items = [this](const char* name) {
        QStringList captions;
        for (QAction* action : control<QMenu>(name)->actions())
            captions << (action->isSeparator() ? QStringLiteral("-") : action->text()) + QLatin1Char('=')
                    + action->objectName();
        return captions;
    };
    EXPECT_EQ(items("mnu_context001"),
              (QStringList{"minimalizovat aplikaci=mnuc1_mini", "-=mnuc1_od1", "ukončit aplikaci=mnuc1_end"}));
    EXPECT_EQ(items("mnu_tray"),
              (QStringList{"zobrazit okno aplikace=mnuShowApp", "změnit tapetu ihned=mnuchnw", "-=mnud01",
                           "ukončit aplikaci=mnu_endapp"}));
    EXPECT_EQ(items("mnuUrl01").mid(0, 2), (QStringList{"vyplňte krátký dotazník=mnuUrl3", "stránky tapetor=mnuurl1"}));
    EXPECT_EQ(items("mnuctx004"),
              (QStringList{"na střed=mnuCenter", "přizbůsobit obrazovce=mnustr", "vedle sebe (dlaždice)=mnutile"}));
    EXPECT_EQ(tray.menu, control<QMenu>("mnu_tray"));
}

TEST_F(Navigation, MinimisingHidesIntoTheTray)
{
    start();
    click("Image7");
    EXPECT_FALSE(window->isVisible());
    window->mnuShowApp_Click();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isMinimized());
    // What the title bar's button does through the window manager.
    window->setWindowState(Qt::WindowMinimized);
    EXPECT_FALSE(window->isVisible()) << "the title bar's button behaves as the picture";
    window->trayIcon_Activated(static_cast<int>(TrayActivation::Trigger));
    EXPECT_FALSE(window->isVisible()) << "a single click is only the first half of a double-click";
    window->trayIcon_Activated(static_cast<int>(TrayActivation::DoubleClick));
    EXPECT_TRUE(window->isVisible());
    window->trayIcon_Activated(static_cast<int>(TrayActivation::DoubleClick));
    EXPECT_TRUE(window->isVisible()) << "restoring a shown window keeps it shown";
}

TEST_F(Navigation, OnAHostOnTheSessionBusTheLeftClickRestores)
{
    tray.trayKind = TrayKind::StatusNotifier;
    start();
    click("Image7");
    ASSERT_FALSE(window->isVisible());
    window->trayIcon_Activated(static_cast<int>(TrayActivation::Context));
    EXPECT_FALSE(window->isVisible()) << "the right button only opens the menu";
    window->trayIcon_Activated(static_cast<int>(TrayActivation::Trigger));
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isMinimized());
}

TEST_F(Navigation, ALaterStartBringsTheWindowBackAsTheTrayDoes)
{
    start();
    click("Image7");
    ASSERT_FALSE(window->isVisible());
    EXPECT_TRUE(instance.handOver());
    EXPECT_TRUE(window->isVisible());
    // Without a tray to hide in, the window waits minimised; it comes back whole.
    tray.available = false;
    window->setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(window->isMinimized());
    EXPECT_TRUE(instance.handOver());
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isMinimized());
    window->mnuc1_end_Click();
    EXPECT_FALSE(instance.handOver()) << "an ending copy leaves the later start to run by itself";
    EXPECT_FALSE(window->isVisible());
}

TEST_F(Navigation, InitialTextsOfTheInventory)
{
    start();
    const std::pair<const char*, const char*> texts[] = {
        {"Label3", "aplikace pro snadné automatické měnění tapet na ploše"},
        {"Label14", "informace o aplikaci"},
        {"Label4", "vytvořit novou kolekci tapet"},
        {"Label5", "otevřít a upravit existující kolekci tapet"},
        {"Label6", "nastavit automatické změny tapet"},
        {"statusTxt", "výměna tapet "},
        {"statusCasTxt", "další změna tapety proběhne za "},
        {"StatusCas", "0h 00m 00sec"},
        {"changeNow", "změnit tapetu ihned"},
        {"pocetObr", "počet tapet: neznámý"},
        {"nadpis", "upravit kolekci"},
        {"Label23", "odstranit vybrané tapety z kolekce"},
        {"Label25", "uložit kolekci do souboru"},
        {"Check2", "po spuštění aplikace použít níže zvolenou kolekci a začít měnit tapety podle nastavní"},
        {"Check1", "spuštět tapetor po spuštění počítače"},
        {"Label15", "uložit"},
        {"Label34", "storno"},
    };
    for (const auto& [name, expected] : texts)
        EXPECT_EQ(text(name), QString::fromUtf8(expected)) << name;
    EXPECT_EQ(colour("changeNow"), QColor(0, 0, 255));
    EXPECT_EQ(colour("Label34"), QColor(255, 0, 0));
    EXPECT_EQ(control<QWidget>("changeNow")->toolTip(), QStringLiteral("provede výměnu tapety na pozadí plochy"));
    EXPECT_EQ(control<QWidget>("nahled")->toolTip(), QStringLiteral("kliknutím změníte tapetu ihned"));
    EXPECT_FALSE(control<QWidget>("Label13")->isVisibleTo(window.get()));
}

TEST_F(Navigation, FixedColoursAreDrawnAsDesignedOnALightThemeAndReadablyOnADarkOne)
{
    start();
    const std::pair<const char*, QColor> designed[] = {
        {"changeNow", QColor(0x00, 0x00, 0xFF)}, {"statusMain", QColor(0xFF, 0x00, 0x00)},
        {"StatusCas", QColor(0x00, 0x80, 0x00)}, {"Cas", QColor(0xC0, 0x40, 0x00)},
        {"Label10", QColor(0x80, 0x80, 0x80)},
    };
    // Windows' font engine blends glyph stems by its gamma, so even the fullest pixel
    // stays a few steps short of the colour; the designed colours lie 64 steps apart.
    for (const auto& [name, colour] : designed) {
        const QColor drawn = drawnTextColour(control<QWidget>(name));
        EXPECT_LE(std::max({std::abs(drawn.red() - colour.red()), std::abs(drawn.green() - colour.green()),
                            std::abs(drawn.blue() - colour.blue())}),
                  12)
            << name << " " << drawn.name().toStdString();
    }

    // The window of a program started under a dark theme.
    struct PaletteGuard {
        QPalette light = QApplication::palette();
        ~PaletteGuard() { QApplication::setPalette(light); }
    } guard;
    QPalette dark = guard.light;
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, QColor(0xEE, 0xEE, 0xEE));
    QApplication::setPalette(dark);
    start();
    for (const auto& [name, colour] : designed) {
        SCOPED_TRACE(name);
        const QColor drawn = drawnTextColour(control<QWidget>(name));
        EXPECT_GE(contrastRatio(drawn, dark.color(QPalette::Window)), kReadableContrast);
        // A lighter shade of the same colour, while the control holds the design's.
        EXPECT_EQ(drawn.hsvHue(), colour.hsvHue());
        EXPECT_EQ(this->colour(name), colour);
    }
}

TEST(ReadableColour, LightBackgroundsKeepTheDesignAndDarkOnesGetJustEnoughContrast)
{
    EXPECT_NEAR(contrastRatio(Qt::black, Qt::white), 21.0, 1e-9);
    EXPECT_NEAR(contrastRatio(QColor(0x00, 0x00, 0xFF), Qt::white), 8.59, 0.01);
    EXPECT_NEAR(contrastRatio(QColor(0x00, 0x80, 0x00), Qt::white), 5.14, 0.01);
    for (const QColor design : {QColor(0x00, 0x00, 0xFF), QColor(0xFF, 0x00, 0x00), QColor(0x00, 0x80, 0x00),
                                QColor(0xC0, 0x40, 0x00), QColor(0x80, 0x80, 0x80)}) {
        SCOPED_TRACE(design.name().toStdString());
        for (const QColor background : {QColor(Qt::white), QColor(0xEF, 0xEF, 0xEF), QColor(0xF6, 0xF5, 0xF4)})
            EXPECT_EQ(readableOn(design, background), design);
        for (const QColor background : {QColor(Qt::black), QColor(0x24, 0x24, 0x24), QColor(0x35, 0x35, 0x35),
                                        QColor(0x50, 0x50, 0x50), QColor(0x20, 0x20, 0x40)}) {
            const QColor shown = readableOn(design, background);
            // With room to spare: the blended pixels of small text fall short of the colour.
            EXPECT_GE(contrastRatio(shown, background), kReadableContrast + 0.3) << background.name().toStdString();
            // No lighter than needed: a step back towards the design falls short.
            if (contrastRatio(design, background) < kReadableContrast) {
                EXPECT_LT(contrastRatio(shown, background), kReadableContrast + 1.0);
            }
        }
    }
}
