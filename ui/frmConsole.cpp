#include "ui/frmConsole.h"

#include "core/ChangeSchedule.h"

#include "ui_frmConsole.h"

#include "platform/PictureDecoder.h"
#include "platform/TrayIcon.h"
#include "platform/Clock.h"
#include "platform/ProgramLocation.h"
#include "platform/SingleInstance.h"
#include "ui/TextColour.h"
#include "ui/Texts.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QSessionManager>
#include <QSignalBlocker>

static void initTapetorResources()
{
    Q_INIT_RESOURCE(assets);
}

frmConsole::frmConsole(const PlatformServices& services, QString argumentText, QWidget* parent)
    : QWidget(parent)
    , m_services(services)
    , m_argumentText(std::move(argumentText))
    , ui(std::make_unique<Ui::frmConsole>())
    , m_order(services.clock->locale())
    , m_pipeline(std::make_unique<ChangePipeline>(*services.wallpaper, *services.bitmaps, *services.changes))
{
    initTapetorResources();
    ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    ui->Label12->setText(QStringLiteral("http://" TAPETOR_SITE_HOST));
    ui->Label28->setToolTip(QStringLiteral(TAPETOR_SITE_NAME));
    m_collection = new CollectionModel(this);
    m_collection->setPath(Texts::NoNewPath);
    m_options = new Options(Texts::NoCollection, this);
    connect(m_options, &Options::changed, this, &frmConsole::showOptions);
    buildPopupMenus();
    wireControls();
    m_services.decoder->setReceiver(
        [this](quint64 request, QImage picture) { previewDecoded(request, std::move(picture)); });

    // The tick runs from the window's creation to the end of the process, except while
    // the window is hidden, when the alarm stands in for it.
    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setParent(this);
    Timer1.setInterval(100);
    Timer1.setTimerType(Qt::CoarseTimer);
    connect(&Timer1, &QTimer::timeout, this, &frmConsole::Timer1_Timer);
    Timer1.start();
    m_schedule = std::make_unique<ChangeSchedule>(*m_services.clock);
    connect(m_schedule.get(), &ChangeSchedule::woke, this, &frmConsole::alarm_Wake);

    // A logoff must not be held up by the close handler, which refuses every close.
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { sessionEnding(); });
    }
}

frmConsole::~frmConsole()
{
    m_services.decoder->cancel();
    m_services.decoder->setReceiver({});
    // The changes still running end here; no picture is asked for after them.
    m_previewDeferred = false;
    m_pipeline->finish();
    if (m_services.instance)
        m_services.instance->onHandOver = nullptr;
}

void frmConsole::wireControls()
{
    connect(ui->Label4, &ClickableLabel::clicked, this, &frmConsole::Label4_Click);
    connect(ui->Label5, &ClickableLabel::clicked, this, &frmConsole::Label5_Click);
    connect(ui->Label6, &ClickableLabel::clicked, this, &frmConsole::Label6_Click);
    connect(ui->Image2, &ClickableLabel::clicked, this, &frmConsole::Image2_Click);
    connect(ui->Image3, &ClickableLabel::clicked, this, &frmConsole::Image3_Click);
    connect(ui->Image4, &ClickableLabel::clicked, this, &frmConsole::Image4_Click);
    connect(ui->Image5, &ClickableLabel::clicked, this, &frmConsole::Image5_Click);
    connect(ui->Image6, &ClickableLabel::clicked, this, &frmConsole::Image6_Click);
    connect(ui->Image7, &ClickableLabel::clicked, this, &frmConsole::Image7_Click);
    connect(ui->Label13, &ClickableLabel::clicked, this, &frmConsole::Label13_Click);
    connect(ui->Label14, &ClickableLabel::clicked, this, &frmConsole::Label14_Click);
    connect(ui->changeNow, &ClickableLabel::clicked, this, &frmConsole::changeNow_Click);
    connect(ui->Label12, &ClickableLabel::clicked, this, &frmConsole::Label12_Click);

    connect(ui->Label22, &ClickableLabel::clicked, this, &frmConsole::Label22_Click);
    connect(ui->Label28, &ClickableLabel::clicked, this, &frmConsole::Label28_Click);
    connect(ui->Label21, &ClickableLabel::clicked, this, &frmConsole::Label21_Click);
    connect(ui->Label19, &ClickableLabel::clicked, this, &frmConsole::Label19_Click);
    connect(ui->Label20, &ClickableLabel::clicked, this, &frmConsole::Label20_Click);
    connect(ui->Label17, &ClickableLabel::clicked, this, &frmConsole::Label17_Click);

    connect(ui->Check1, &QCheckBox::toggled, this, &frmConsole::Check1_Click);
    connect(ui->Check2, &QCheckBox::toggled, this, &frmConsole::Check2_Click);
    connect(ui->Check3, &QCheckBox::toggled, m_options, &Options::setRandom);
    connect(ui->Text1, &QLineEdit::textChanged, this, &frmConsole::Text1_Change);
    ui->Text1->installEventFilter(this);
    connect(ui->Label30, &ClickableLabel::clicked, this, &frmConsole::Label30_Click);
    connect(ui->Label31, &ClickableLabel::mouseMoved, this, &frmConsole::Label31_MouseMove);
    connect(ui->Label15, &ClickableLabel::clicked, this, &frmConsole::Label15_Click);
    connect(ui->Label34, &ClickableLabel::clicked, this, &frmConsole::Label34_Click);

    // Each option button stands for one option of its group; the options keep the
    // groups exclusive, and a group may also end up with none chosen, which Qt's
    // automatic exclusivity could not show.
    const auto bindMode = [this](QRadioButton* button, Options::Mode mode) {
        connect(button, &QRadioButton::toggled, m_options, [this, mode](bool on) { m_options->setMode(mode, on); });
    };
    const auto bindStyle = [this](QRadioButton* button, Options::Style style) {
        connect(button, &QRadioButton::toggled, m_options, [this, style](bool on) { m_options->setStyle(style, on); });
    };
    bindMode(ui->Option1, Options::Mode::AfterStart);
    bindMode(ui->Option3, Options::Mode::AfterInterval);
    bindStyle(ui->Option2, Options::Style::Stretch);
    bindStyle(ui->Option4, Options::Style::Center);
    bindStyle(ui->Option5, Options::Style::Tile);
    // A click on a selected option button leaves it selected, as a group of them should.
    for (QRadioButton* button : {ui->Option1, ui->Option2, ui->Option3, ui->Option4, ui->Option5})
        connect(button, &QRadioButton::clicked, button, [button] { button->setChecked(true); });

    connect(ui->Label24, &ClickableLabel::clicked, this, &frmConsole::Label24_Click);
    connect(ui->Label23, &ClickableLabel::clicked, this, &frmConsole::Label23_Click);
    connect(ui->Label25, &ClickableLabel::clicked, this, &frmConsole::Label25_Click);
    connect(ui->Label26, &ClickableLabel::clicked, this, &frmConsole::Label26_Click);

    // Files and folders from a file manager: the controls pass them on to the window.
    setAcceptDrops(true);
    ui->kolekce->setModel(m_collection);
    connect(ui->kolekce->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (!m_selectingFromCode)
            kolekce_Click();
    });
    // A click on the entry that is already current reloads it, as every click does.
    connect(ui->kolekce, &QListView::clicked, this, [this](const QModelIndex& index) {
        if (index.row() == currentRow() && !m_selectingFromCode)
            kolekce_Click();
    });
    ui->kolekce->setMouseTracking(true);
    ui->kolekce->viewport()->setMouseTracking(true);
    ui->kolekce->viewport()->installEventFilter(this);
    connect(ui->Label27, &ClickableLabel::mouseMoved, this, &frmConsole::Label27_MouseMove);
    connect(ui->nahled, &PreviewBox::clicked, this, &frmConsole::nahled_Click);

    m_services.tray->onActivated = [this](TrayActivation reason) { trayIcon_Activated(static_cast<int>(reason)); };
    if (m_services.instance)
        m_services.instance->onHandOver
            = [this](SingleInstance::Command command) { return instance_HandOver(command); };
}

void frmConsole::showOptions()
{
    const Options& options = *m_options;
    const auto show = [](QAbstractButton* button, bool on) {
        const QSignalBlocker quiet(button);
        button->setChecked(on);
    };
    show(ui->Check1, options.startup());
    show(ui->Check2, options.run());
    show(ui->Check3, options.random());
    show(ui->Option1, options.mode() == Options::Mode::AfterStart);
    show(ui->Option3, options.mode() == Options::Mode::AfterInterval);
    show(ui->Option2, options.style() == Options::Style::Stretch);
    show(ui->Option4, options.style() == Options::Style::Center);
    show(ui->Option5, options.style() == Options::Style::Tile);
    // Rewritten only when it differs: a rewrite would move the cursor of someone typing.
    if (ui->Text1->text() != options.interval()) {
        const QSignalBlocker quiet(ui->Text1);
        ui->Text1->setText(options.interval());
    }
    ui->Label31->setText(options.collection());
}

bool frmConsole::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->Text1) {
        if (event->type() == QEvent::FocusIn)
            Text1_GotFocus();
        else if (event->type() == QEvent::MouseButtonRelease)
            Text1_Click();
    } else if (watched == ui->kolekce->viewport() && event->type() == QEvent::MouseMove) {
        kolekce_MouseMove();
    }
    return QWidget::eventFilter(watched, event);
}

void frmConsole::buildPopupMenus()
{
    const auto menu = [this](const char* name, const QString& title) {
        auto* created = new QMenu(title, this);
        created->setObjectName(QLatin1String(name));
        return created;
    };
    const auto item = [](QMenu* into, const char* name, const QString& caption) {
        QAction* action = caption == QLatin1String("-") ? into->addSeparator() : into->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };

    mnu_context001 = menu("mnu_context001", QStringLiteral("mnucontext001"));
    connect(item(mnu_context001, "mnuc1_mini", QStringLiteral("minimalizovat aplikaci")), &QAction::triggered, this,
            &frmConsole::Image7_Click);
    item(mnu_context001, "mnuc1_od1", QStringLiteral("-"));
    connect(item(mnu_context001, "mnuc1_end", QStringLiteral("ukončit aplikaci")), &QAction::triggered, this,
            &frmConsole::mnuc1_end_Click);

    mnu_tray = menu("mnu_tray", QStringLiteral("menutray1"));
    connect(item(mnu_tray, "mnuShowApp", QStringLiteral("zobrazit okno aplikace")), &QAction::triggered, this,
            &frmConsole::mnuShowApp_Click);
    connect(item(mnu_tray, "mnuchnw", QStringLiteral("změnit tapetu ihned")), &QAction::triggered, this,
            &frmConsole::mnuchnw_Click);
    item(mnu_tray, "mnud01", QStringLiteral("-"));
    connect(item(mnu_tray, "mnu_endapp", QStringLiteral("ukončit aplikaci")), &QAction::triggered, this,
            &frmConsole::mnu_endapp_Click);

    mnuUrl01 = menu("mnuUrl01", QStringLiteral("mnuUrl"));
    item(mnuUrl01, "mnuUrl3", QStringLiteral("vyplňte krátký dotazník"));
    connect(item(mnuUrl01, "mnuurl1", QStringLiteral("stránky tapetor")), &QAction::triggered, this,
            &frmConsole::mnuurl1_Click);
    connect(item(mnuUrl01, "mnuurl2", QStringLiteral(TAPETOR_SITE_NAME)), &QAction::triggered, this,
            &frmConsole::mnuurl2_Click);

    mnuctx004 = menu("mnuctx004", QStringLiteral("mnucontext002"));
    connect(item(mnuctx004, "mnuCenter", QStringLiteral("na střed")), &QAction::triggered, this,
            &frmConsole::mnuCenter_Click);
    connect(item(mnuctx004, "mnustr", QStringLiteral("přizbůsobit obrazovce")), &QAction::triggered, this,
            &frmConsole::mnustr_Click);
    connect(item(mnuctx004, "mnutile", QStringLiteral("vedle sebe (dlaždice)")), &QAction::triggered, this,
            &frmConsole::mnutile_Click);
}

void frmConsole::showPage(QWidget* page)
{
    page->move(8, 64);
    page->setVisible(true);
    // The about page is the one that can be opened over the others; it stays in front.
    if (page != ui->about && ui->about->isVisible())
        ui->about->raise();
    else
        page->raise();
    // The header switch is never covered by a page.
    ui->Label14->raise();
}

void frmConsole::Label6_Click()
{
    LoadSettings();
    showPage(ui->nastaveni);
}

void frmConsole::Image2_Click()
{
    Label5_Click();
}

void frmConsole::Image3_Click()
{
    Label4_Click();
}

void frmConsole::Image4_Click()
{
    Label6_Click();
}

void frmConsole::Image5_Click()
{
    mnu_context001->popup(QCursor::pos());
}

void frmConsole::Image6_Click()
{
    Label17_Click();
}

void frmConsole::Image7_Click()
{
    minimiseToTray();
}

void frmConsole::Label28_Click()
{
    mnuUrl01->popup(QCursor::pos());
}

void frmConsole::Label13_Click()
{
    clearMarks();
}

void frmConsole::clearMarks()
{
    int last = -1;
    ListBoxSelectRange(ui->kolekce, false, 0, last);
}

void frmConsole::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void frmConsole::Form_Resize()
{
    if (windowState() & Qt::WindowMinimized)
        hideToTray();
}

bool frmConsole::trayUsable() const
{
    return m_services.tray->isVisible() && m_services.tray->trayAvailable();
}

void frmConsole::hideToTray()
{
    // Without a tray the window would be gone for good; it stays minimised instead.
    if (trayUsable())
        hide();
}

void frmConsole::minimiseToTray()
{
    // Hidden straight away rather than minimised first: a minimise request still on
    // its way to the window manager would iconify the window again the moment it is
    // restored from the tray.
    if (trayUsable())
        hide();
    else
        setWindowState(windowState() | Qt::WindowMinimized);
}

void frmConsole::restoreWindow()
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}
