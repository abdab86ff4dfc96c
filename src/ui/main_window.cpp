#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>

#include "core/about_box.h"
#include "core/program_files.h"
#include "core/progress.h"
#include "host/access/file_application.h"
#include "report/qt_text.h"
#include "report/report_fonts.h"
#include "ui/about_window.h"
#include "ui/batch_window.h"
#include "ui/capture_desk.h"
#include "ui/capture_window.h"
#include "ui/dependency_window.h"
#include "ui/desktop_window.h"
#include "ui/output_window.h"
#include "ui/progress_gauge.h"
#include "ui/report_preview_window.h"
#include "ui/settings_window.h"
#include "ui/site_run.h"
#include "ui/support_window.h"

namespace zanfor::app {

using report::ToQString;

namespace {

constexpr double kGaugeTwips = 2400;

struct PickerLists {
    std::vector<std::string> Pickers::*list;
    std::string Pickers::*text;
};
constexpr PickerLists kPickerLists[] = {
    {&Pickers::tables, &Pickers::tableText}, {&Pickers::queries, &Pickers::queryText},
    {&Pickers::forms, &Pickers::formText},   {&Pickers::reports, &Pickers::reportText},
    {&Pickers::macros, &Pickers::macroText},
};

// The menus a save or a loaded analysis file may lock; m6, m7 and m9 need a target shown.
struct WindowMenuInfo {
    std::string_view name;
    std::string_view caption;
    bool needsTarget;
    std::optional<Menu> lock;
};
constexpr WindowMenuInfo kWindowMenus[] = {
    {"m1b", "解析ファイルの保存", false, Menu::Save},
    {"m1c", "保存ファイルの読込", false, Menu::Load},
    {"m6", "一括処理", true, Menu::Batch},
    {"m7", "開発者支援", true, Menu::Support},
    {"m9", "各種出力", true, std::nullopt},
};

std::size_t Slot(auto value) { return static_cast<std::size_t>(value); }

// Fills the combo with the names when they differ from what it lists, and selects `text`.
void ShowNames(QComboBox* combo, const std::vector<std::string>& names, const std::string& text) {
    bool same = combo->count() == static_cast<int>(names.size());
    for (int i = 0; same && i < combo->count(); ++i)
        same = combo->itemText(i) == ToQString(names[Slot(i)]);
    if (!same) {
        combo->clear();
        for (const auto& name : names)
            combo->addItem(ToQString(name));
    }
    combo->setCurrentIndex(combo->findText(ToQString(text)));
}

QFrame* Separator(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// Columns of options side by side, a thin line between them.
QHBoxLayout* Columns(std::initializer_list<QWidget*> columns) {
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    bool first = true;
    for (auto* column : columns) {
        if (!first)
            row->addWidget(Separator(nullptr));
        row->addWidget(column);
        first = false;
    }
    row->addStretch();
    return row;
}

// Widgets one under the other, kept at the top of their column.
QWidget* Stack(std::initializer_list<QWidget*> widgets) {
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (auto* w : widgets)
        layout->addWidget(w);
    layout->addStretch();
    return column;
}

}  // namespace

MainWindow::MainWindow(Startup startup, MainWindowServices services, QWidget* parent)
    : QMainWindow(parent),
      tableCommands_(services.commandTable),
      services_(std::move(services)),
      header_{{{"txtTitle", "タイトル：", &ReportHeader::title},
               {"txtSystem", "ｼｽﾃﾑ名：", &ReportHeader::system},
               {"txtCompany", "会社名：", &ReportHeader::company},
               {"txtBumon", "部署名：", &ReportHeader::bumon},
               {"txtAuther", "作成者：", &ReportHeader::auther},
               {"txtDate", "作成日：", &ReportHeader::date},
               {"txtCapTime", "ｷｬﾌﾟﾁｬｰ時間", &ReportHeader::capTime}}} {
    if (!services_.dialogs) {
        ownedDialogs_ = std::make_unique<QtDialogs>(this);
        services_.dialogs = ownedDialogs_.get();
    }
    if (!services_.desktop) {
        ownedDesktop_ = std::make_unique<SystemDesktop>();
        services_.desktop = ownedDesktop_.get();
    }
    if (!services_.engine) {
        ownedEngine_ = std::make_unique<host::access::FileEngine>();
        services_.engine = ownedEngine_.get();
    }
    if (!services_.accessFactory) {
        ownedFactory_ = std::make_unique<host::access::FileApplicationFactory>();
        services_.accessFactory = ownedFactory_.get();
    }
    if (!services_.commands)
        services_.commands = &tableCommands_;
    const auto workDatabase = startup.paths.workDatabase;
    captureDesk_ = std::make_unique<QtCaptureDesk>(
        *this,
        [this] {
            auto& session = program_->session();
            return render::RenderSources{session.access.get(), session.target.get()};
        },
        [this] { openCaptureWindow(); });
    program_ = std::make_unique<Program>(
        std::move(startup),
        ProgramServices{*services_.engine, *services_.accessFactory, *services_.dialogs,
                        *services_.desktop, *services_.commands, services_.today,
                        services_.commandTable, captureDesk_.get()},
        *this);
    presenter_ = std::make_unique<ReportPresenter>(workDatabase, this);
    presenter_->setErrorSink([this](const ErrorReport& report) { reportError(report); });

    setObjectName("frmZanfor");
    setWindowTitle(ToQString(kProductTitle));
    setFont(report::ReportFont(report::FontRole::Text, 9));

    timer1_ = new QTimer(this);
    timer1_->setObjectName("Timer1");
    connect(timer1_, &QTimer::timeout, this, [this] {
        clearProgress();
        timer1_->stop();
    });

    buildMenus();
    auto* central = new QWidget(this);
    central->setObjectName("central");
    central->setStyleSheet(FrameStyleSheet());
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(6);
    layout->addWidget(buildPanels());
    layout->addWidget(buildStatusArea());
    setCentralWidget(central);

    watchChildren();
    refresh();
    clearProgress();
    adjustSize();
    placeWindow();
}

MainWindow::~MainWindow() {
    delete settings_.data();
    presenter_.reset();
}

void MainWindow::buildMenus() {
    auto* bar = menuBar();
    bar->setObjectName("menuBar");
    auto* file = bar->addMenu(QStringLiteral("ファイル"));
    file->setObjectName("m1");
    file->setToolTipsVisible(true);
    auto add = [this](QMenu* menu, std::string_view name, std::string_view caption, auto handler) {
        auto* action =
            menu ? menu->addAction(ToQString(caption)) : menuBar()->addAction(ToQString(caption));
        action->setObjectName(ToQString(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    const std::function<void()> windowHandlers[] = {
        [this] { runFileCommand(&Program::saveAnalysisFile); },
        [this] { runFileCommand(&Program::loadAnalysisFile); },
        [this] { openBatchWindow(); },
        [this] { openSupportWindow(); },
        [this] {
            OpenOutputWindow(*this, *program_, *this, *services_.dialogs, *services_.desktop,
                             [this] { exitCommand(); });
        },
    };
    auto windowMenu = [&](QMenu* menu, std::size_t i) {
        windowMenus_[i] = add(menu, kWindowMenus[i].name, kWindowMenus[i].caption,
                              [this, i, handler = windowHandlers[i]] {
                                  if (!kWindowMenus[i].needsTarget || program_->requireTarget())
                                      handler();
                              });
    };
    openMenu_ = add(file, "m1a", "解析ファイルの選択", [this] { openTarget(std::nullopt); });
    windowMenu(file, 0);
    windowMenu(file, 1);
    file->addSeparator();
    const auto menu = program_->recentMenu();
    for (std::size_t k = 0; k < recent_.size(); ++k) {
        recent_[k] = add(file, "RecentFile(" + std::to_string(k) + ")", menu[k].caption,
                         [this, k] { openTarget(k); });
        recent_[k]->setVisible(menu[k].visible);
    }
    file->addSeparator();
    add(file, "m1z", "終了", [this] { exitCommand(); });

    windowMenu(nullptr, 2);
    settingsMenu_ = add(nullptr, "m8", "設定", [this] { openSettingsWindow(); });
    windowMenu(nullptr, 3);
    add(nullptr, "m10", "依存関係", [this] { openDependencyWindow(); });
    add(nullptr, "m11", "説明サイト", [this] { writeSite(); });
    windowMenu(nullptr, 4);
    add(nullptr, "m2", "スクリーンセーバー", [this] { openScreenSaverSettings(); });
    add(nullptr, "m4", "ヘルプ", [this] { openHelp(); });
    add(nullptr, "m5", "アバウト", [this] { showAbout(); });
}

void MainWindow::runFileCommand(CommandEnd (Program::*command)()) {
    const auto end = ((*program_).*command)();
    refresh();
    if (end == CommandEnd::ExitRequested)
        exitCommand();
}

void MainWindow::loadAtStartUp(const std::filesystem::path& file) {
    const auto end = program_->loadAnalysisFile(file, true);
    refresh();
    if (end == CommandEnd::ExitRequested)
        exitCommand();
}

// The menus a save or a loaded analysis file locks.
void MainWindow::refreshMenus() {
    for (std::size_t i = 0; i < windowMenus_.size(); ++i) {
        const auto lock = kWindowMenus[i].lock;
        windowMenus_[i]->setEnabled(!lock || program_->menuEnabled(*lock));
    }
    const bool open = program_->menuEnabled(Menu::Open);
    openMenu_->setEnabled(open);
    for (auto* entry : recent_)
        entry->setEnabled(open);
    settingsMenu_->setEnabled(program_->menuEnabled(Menu::Settings));
}

QGroupBox* MainWindow::frame(std::string_view caption, std::string_view name) {
    auto* box = new QGroupBox(ToQString(caption));
    box->setObjectName(ToQString(name));
    box->setMouseTracking(true);
    return box;
}

QPushButton* MainWindow::commandButton(CommandId id) {
    const auto& row = *FindCommand(id, services_.commandTable);
    auto* button = new QPushButton(ToQString(row.caption));
    button->setObjectName(ToQString(row.button));
    button->setMinimumHeight(26);
    connect(button, &QPushButton::clicked, this, [this, id] { runCommand(id); });
    if (!services_.commands->runs(id))
        button->setToolTip(ToQString(row.caption) + QStringLiteral("は準備中です。"));
    commands_[Slot(id)] = button;
    return button;
}

QHBoxLayout* MainWindow::actionRow(CommandId id) {
    const auto preview = FindCommand(id, services_.commandTable)->preview;
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    row->addWidget(commandButton(id), 1);
    if (preview) {
        auto* button = new QPushButton(ToQString(PreviewButtonCaption(*preview)));
        button->setObjectName(ToQString(PreviewButtonName(*preview)));
        button->setMinimumHeight(26);
        const auto which = *preview;
        connect(button, &QPushButton::clicked, this, [this, which] { showPreview(which); });
        previews_[Slot(*preview)] = button;
        row->addWidget(button);
    }
    return row;
}

QWidget* MainWindow::optionGroup(OptionGroup group, int columns) {
    const auto& info = Info(group);
    auto* box = new QWidget;
    box->setObjectName(ToQString(info.name) + QStringLiteral("Box"));
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(2);
    auto* buttons = new QButtonGroup(this);
    buttons->setObjectName(ToQString(info.name));
    const int count = static_cast<int>(info.captions.size());
    const int rows = (count + columns - 1) / columns;
    for (int i = 0; i < count; ++i) {
        auto* radio = new QRadioButton(ToQString(info.captions[Slot(i)]), box);
        radio->setObjectName(ToQString(info.name) + QStringLiteral("(%1)").arg(i));
        buttons->addButton(radio, i);
        grid->addWidget(radio, i % rows, i / rows);
    }
    connect(buttons, &QButtonGroup::idToggled, this, [this, group](int id, bool checked) {
        if (!checked || refreshing_)
            return;
        program_->clickOption(group, id);
        refresh();
    });
    groups_[Slot(group)] = buttons;
    return box;
}

QCheckBox* MainWindow::checkBox(CheckBox which) {
    const auto& info = Info(which);
    auto* box = new QCheckBox(ToQString(info.caption));
    box->setObjectName(ToQString(info.name));
    connect(box, &QCheckBox::clicked, this, [this, which](bool checked) {
        program_->clickCheck(which, checked);
        refresh();
    });
    checks_[Slot(which)] = box;
    return box;
}

QComboBox* MainWindow::picker(std::string_view name) {
    auto* combo = new QComboBox;
    combo->setObjectName(ToQString(name));
    combo->setMinimumContentsLength(12);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return combo;
}

MainWindow::HeaderBox& MainWindow::headerBox(std::string_view name) {
    return *std::find_if(header_.begin(), header_.end(),
                         [name](const HeaderBox& box) { return box.name == name; });
}

QLineEdit* MainWindow::headerEdit(std::string_view name) {
    auto& box = headerBox(name);
    box.edit = new QLineEdit;
    box.edit->setObjectName(ToQString(name));
    auto field = box.field;
    connect(box.edit, &QLineEdit::textChanged, this, [this, field](const QString& text) {
        if (!refreshing_)
            program_->state().header.*field = text.toStdString();
    });
    return box.edit;
}

MainWindow::Panel MainWindow::panel(std::string_view caption, std::string_view name, CommandId id) {
    auto* box = frame(caption, name);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->setSpacing(6);
    layout->addLayout(actionRow(id));
    return {box, layout};
}

QGroupBox* MainWindow::simplePanel(std::string_view caption, std::string_view name, CommandId id,
                                   QWidget* options) {
    auto [box, layout] = panel(caption, name, id);
    layout->addWidget(options);
    layout->addStretch();
    return box;
}

QGroupBox* MainWindow::simplePanel(std::string_view caption, std::string_view name, CommandId id,
                                   QLayout* options) {
    auto [box, layout] = panel(caption, name, id);
    layout->addLayout(options);
    layout->addStretch();
    return box;
}

QGroupBox* MainWindow::selectPanel(std::string_view caption, std::string_view name, CommandId id,
                                   OptionGroup listing, OptionGroup select, Picker which,
                                   QWidget* extra) {
    auto [box, layout] = panel(caption, name, id);
    auto* selectColumn = extra ? Stack({optionGroup(select), extra}) : optionGroup(select);
    layout->addLayout(Columns({optionGroup(listing), selectColumn}));
    pickers_[Slot(which)] = picker(PickerName(which));
    layout->addWidget(pickers_[Slot(which)]);
    layout->addStretch();
    return box;
}

QWidget* MainWindow::buildPanels() {
    auto* panels = new QWidget;
    panels->setObjectName("panels");
    panels->setMouseTracking(true);
    auto* grid = new QGridLayout(panels);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(6);

    grid->addWidget(simplePanel("オブジェクト情報", "framObject", CommandId::Object,
                                optionGroup(OptionGroup::Object, 2)),
                    0, 0);
    grid->addWidget(selectPanel("テーブル情報", "framTable", CommandId::Table, OptionGroup::Table,
                                OptionGroup::TSelect, Picker::Table, checkBox(CheckBox::Link)),
                    0, 1);
    grid->addWidget(selectPanel("クエリー情報", "framQuery", CommandId::Query, OptionGroup::Query,
                                OptionGroup::QSelect, Picker::Query),
                    0, 2);
    grid->addWidget(selectPanel("フォーム情報", "framForm", CommandId::Form, OptionGroup::Form,
                                OptionGroup::FSelect, Picker::Form),
                    0, 3);
    grid->addWidget(selectPanel("レポート情報", "framReport", CommandId::Report,
                                OptionGroup::Report, OptionGroup::RSelect, Picker::Report),
                    1, 0);
    grid->addWidget(
        simplePanel("プロシージャ一覧", "framProc", CommandId::Proc,
                    Columns({optionGroup(OptionGroup::Proc), Stack({checkBox(CheckBox::Proc50)})})),
        1, 1);
    grid->addWidget(
        simplePanel(
            "モジュール情報", "framModule", CommandId::Module,
            Columns({optionGroup(OptionGroup::Module, 2),
                     Stack({optionGroup(OptionGroup::MPrint, 2), checkBox(CheckBox::Mod50)})})),
        1, 2);
    grid->addWidget(simplePanel("モジュールステップ数", "framModStep", CommandId::ModStep,
                                optionGroup(OptionGroup::ModStep, 2)),
                    1, 3);
    macroFrame_ = selectPanel("マクロ情報", "framMacro", CommandId::Macro, OptionGroup::Macro,
                              OptionGroup::McSelect, Picker::Macro);
    grid->addWidget(macroFrame_, 2, 0);
    controlFrame_ = simplePanel("コントロール数", "framControl", CommandId::Control,
                                optionGroup(OptionGroup::Control));
    grid->addWidget(controlFrame_, 2, 1);
    etcFrame_ = buildOtherPanel();
    grid->addWidget(etcFrame_, 2, 2, 1, 2);
    grid->addWidget(buildCoverPanel(), 3, 0, 1, 4);
    // A command the panels do not lay out by hand gets a row of its own in "その他".
    auto* etc = static_cast<QGridLayout*>(etcFrame_->layout());
    int etcRow = etc->rowCount();
    for (const auto& command : services_.commandTable)
        if (!commands_[Slot(command.id)])
            etc->addLayout(actionRow(command.id), etcRow++, 0, 1, 2);
    etc->setRowStretch(etcRow, 1);
    for (int c = 0; c < 4; ++c)
        grid->setColumnStretch(c, 1);
    for (std::size_t p = 0; p < kPickerCount; ++p) {
        connect(pickers_[p], &QComboBox::currentTextChanged, this, [this, p](const QString& text) {
            if (!refreshing_)
                program_->state().pickers.*kPickerLists[p].text = text.toStdString();
        });
    }
    return panels;
}

QGroupBox* MainWindow::buildOtherPanel() {
    auto* box = frame("その他", "framETC");
    auto* layout = new QGridLayout(box);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->setHorizontalSpacing(10);
    layout->setVerticalSpacing(6);
    layout->addLayout(actionRow(CommandId::File), 0, 0);
    layout->addWidget(optionGroup(OptionGroup::File), 1, 0, 2, 1);
    layout->addLayout(actionRow(CommandId::Comment), 0, 1);
    layout->addLayout(actionRow(CommandId::FmImage), 1, 1);
    fmImage_ = picker("cboFmImage");
    connect(fmImage_, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        if (!refreshing_)
            program_->state().pickers.fmImageText = text.toStdString();
    });
    layout->addWidget(fmImage_, 2, 1);
    auto* capture = new QHBoxLayout;
    capture->setSpacing(4);
    auto* captureLabel = new QLabel(ToQString(headerBox("txtCapTime").caption));
    auto* captureTime = headerEdit("txtCapTime");
    captureTime->setMaximumWidth(40);
    captureTime->setAlignment(Qt::AlignRight);
    captureLabel->setBuddy(captureTime);
    capture->addWidget(captureLabel);
    capture->addWidget(captureTime);
    capture->addSpacing(8);
    capture->addWidget(checkBox(CheckBox::CapKbn));
    capture->addStretch();
    layout->addLayout(capture, 3, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);
    return box;
}

QGroupBox* MainWindow::buildCoverPanel() {
    auto* box = frame("表紙", "framHyousi");
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->setSpacing(10);
    auto* covers = new QVBoxLayout;
    covers->setSpacing(4);
    for (auto id : {CommandId::Hyousi1, CommandId::Hyousi2, CommandId::Hyousi3})
        covers->addWidget(commandButton(id));
    covers->addStretch();
    layout->addLayout(covers);
    layout->addWidget(Separator(box));
    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(6);
    fields->setVerticalSpacing(4);
    // The six report-header boxes in two columns; the capture time sits in its own panel.
    for (int i = 0; i < 6; ++i) {
        auto& entry = header_[Slot(i)];
        auto* label = new QLabel(ToQString(entry.caption));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* edit = headerEdit(entry.name);
        label->setBuddy(edit);
        const int row = i % 3;
        const int column = (i / 3) * 2;
        fields->addWidget(label, row, column);
        fields->addWidget(edit, row, column + 1);
    }
    headerBox("txtDate").edit->setMaximumWidth(110);
    fields->setColumnStretch(1, 3);
    fields->setColumnStretch(3, 2);
    layout->addLayout(fields, 1);
    save_ = new QPushButton(QStringLiteral("登　　　録"));
    save_->setObjectName("cmdSave");
    save_->setMinimumHeight(26);
    save_->setMinimumWidth(96);
    connect(save_, &QPushButton::clicked, this, [this] { program_->saveProfile(); });
    auto* saveColumn = new QVBoxLayout;
    saveColumn->addStretch();
    saveColumn->addWidget(save_);
    layout->addLayout(saveColumn);
    return box;
}

QWidget* MainWindow::buildStatusArea() {
    auto* area = new QWidget;
    area->setObjectName("statusArea");
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);

    auto* pathCaption = new QLabel(QStringLiteral("mdb File :"));
    dbName_ = new QLabel;
    dbName_->setObjectName("lblDBName");
    dbName_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    dbName_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    dbName_->setMinimumHeight(22);
    dbName_->setAutoFillBackground(true);
    dbName_->setBackgroundRole(QPalette::Base);
    grid->addWidget(pathCaption, 0, 0);
    grid->addWidget(dbName_, 0, 1, 1, 3);

    message_ = MakeMessageLine();
    grid->addWidget(message_, 1, 0, 1, 2);

    gaugeBox_ = new ProgressGauge(kGaugeTwips, font());
    auto* box = gaugeBox_;
    grid->addWidget(box, 1, 2);

    percent_ = gaugeBox_->makeCaption();
    grid->addWidget(percent_, 1, 3);
    grid->setColumnStretch(1, 1);
    return area;
}

void MainWindow::watchChildren() {
    installEventFilter(this);
    for (auto* widget : findChildren<QWidget*>())
        widget->installEventFilter(this);
    centralWidget()->setMouseTracking(true);
}

void MainWindow::placeWindow() {
    const auto& settings = program_->settings();
    QPoint wanted(twipsToPixels(settings.left), twipsToPixels(settings.top));
    // A position saved on a screen that is no longer there would leave the window unreachable.
    if (!QGuiApplication::screenAt(wanted)) {
        if (auto* screen = QGuiApplication::primaryScreen())
            wanted = screen->availableGeometry().topLeft();
    }
    move(wanted);
}

int MainWindow::twipsToPixels(double twips) const { return qRound(twips * logicalDpiX() / 1440.0); }

std::int32_t MainWindow::pixelsToTwips(int pixels) const {
    return static_cast<std::int32_t>(qRound(pixels * 1440.0 / logicalDpiX()));
}

void MainWindow::refresh() {
    refreshing_ = true;
    const auto& state = program_->state();
    const auto& panel = program_->panel();
    dbName_->setText(ToQString(state.targetPath));
    for (const auto& row : services_.commandTable)
        commands_[Slot(row.id)]->setEnabled(panel.enabled(row.id));
    save_->setEnabled(panel.save);
    for (std::size_t i = 0; i < previews_.size(); ++i)
        previews_[i]->setEnabled(state.previewEnabled[i]);
    for (const auto& info : OptionGroups())
        groups_[Slot(info.group)]->button(ChosenIndex(state, info.group))->setChecked(true);
    for (const auto& info : CheckBoxes())
        checks_[Slot(info.box)]->setChecked(IsChecked(state, info.box));
    checks_[Slot(CheckBox::Link)]->setEnabled(panel.link);
    for (std::size_t p = 0; p < kPickerCount; ++p)
        pickers_[p]->setEnabled(panel.pickers[p]);
    macroFrame_->setEnabled(panel.macroFrame);
    controlFrame_->setEnabled(panel.controlFrame);
    etcFrame_->setEnabled(panel.etcFrame);
    for (const auto& box : header_) {
        const QString text = ToQString(state.header.*box.field);
        if (box.edit->text() != text)
            box.edit->setText(text);
    }
    refreshPickers();
    refreshMenus();
    refreshing_ = false;
}

void MainWindow::refreshPickers() {
    const auto& pickers = program_->state().pickers;
    for (std::size_t p = 0; p < kPickerCount; ++p)
        ShowNames(pickers_[p], pickers.*kPickerLists[p].list, pickers.*kPickerLists[p].text);
    ShowNames(fmImage_, pickers.forms, pickers.fmImageText);
}

void MainWindow::openTarget(std::optional<std::size_t> recentIndex) {
    const auto result =
        recentIndex ? program_->openRecentFile(*recentIndex) : program_->openTarget();
    refresh();
    if (result == target::OpenResult::ExitRequested)
        exitCommand();
}

void MainWindow::runCommand(CommandId id) {
    const auto end = program_->runCommand(id);
    refresh();
    if (end == CommandEnd::ExitRequested)
        exitCommand();
}

// The window is kept while the program runs: reopening it refills the pickers and enables the
// tools by the initial-processing flag.
// Beside the developer support window, not one of its tools: it reads the target itself and
// writes nothing, so it needs a target (a loaded analysis file has none) and no lock.
void MainWindow::openDependencyWindow() {
    if (program_->state().targetPath.empty()) {
        messageBox(kSelectDatabase, kProductTitle, MsgButtons::Ok, MsgIcon::None);
        return;
    }
    if (!dependencies_) {
        dependencies_ = new DependencyWindow(
            *program_, *this, [this] { exitCommand(); }, this);
        dependencies_->setAttribute(Qt::WA_DeleteOnClose);
    }
    if (!dependencies_->reload()) {
        dependencies_->close();
        return;
    }
    dependencies_->show();
    dependencies_->raise();
    dependencies_->activateWindow();
}

// The site goes where the user says, in a folder of its own; when it is written it opens in the
// browser, as the help page does.
void MainWindow::writeSite() {
    const std::filesystem::path target = program_->state().targetPath;
    if (target.empty()) {
        messageBox(kSelectDatabase, kProductTitle, MsgButtons::Ok, MsgIcon::None);
        return;
    }
    if (!site_) {
        site_ = new SiteRun(
            std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()) /
                "zanfor-cli",
            this);
        connect(site_, &SiteRun::progress, this,
                [this](const QString& line) { showMessage(line.toStdString()); });
    }
    if (site_->running())
        return;
    OpenFileRequest request;
    request.title = "説明サイトの保存先 (フォルダー名)";
    request.initialFolder = target.parent_path().string();
    const std::filesystem::path folder = services_.dialogs->saveFileName(request);
    if (folder.empty())
        return;
    disconnect(site_, &SiteRun::finished, this, nullptr);
    connect(site_, &SiteRun::finished, this, [this, folder](bool ok, const QString& errors) {
        setBusy(false);
        if (!ok) {
            showMessage("");
            messageBox(errors.toStdString(), kProductTitle, MsgButtons::Ok, MsgIcon::Critical);
            return;
        }
        showMessage("説明サイトを書き出しました。");
        startClearTimer(5000);
        services_.desktop->openDocument(folder / "index.html");
    });
    setBusy(true);
    showMessage("説明サイトを作成中です...");
    site_->start(target, folder);
}

void MainWindow::openSupportWindow() {
    if (!support_) {
        support_ = new SupportWindow(
            *program_, *this, [this] { exitCommand(); }, this);
        support_->setWindowModality(Qt::ApplicationModal);
    } else {
        support_->reopen();
    }
    support_->show();
    support_->raise();
    support_->activateWindow();
}

SupportWindow* MainWindow::supportWindow() const { return support_.data(); }

// Modeless beside the main window. A window still open is only brought forward; one opened
// again starts from cleared boxes, so its flags always match what it shows.
void MainWindow::openBatchWindow() {
    if (!batch_) {
        batch_ = new BatchWindow(
            *program_, *this, *services_.dialogs, [this] { refresh(); }, [this] { exitCommand(); },
            this);
    } else if (!batch_->isVisible()) {
        batch_->reopen();
    }
    batch_->show();
    batch_->raise();
    batch_->activateWindow();
}

BatchWindow* MainWindow::batchWindow() const { return batch_.data(); }

// Modeless; a viewer still open shows the new picture instead of a second window.
void MainWindow::openCaptureWindow() {
    if (!capture_) {
        capture_ = new CaptureWindow(
            *services_.dialogs, [this] { captureDesk_->stopViewerTimer(); },
            [this] { exitCommand(); }, this);
        capture_->setAttribute(Qt::WA_DeleteOnClose);
    } else {
        capture_->load();
    }
    capture_->show();
    capture_->raise();
    capture_->activateWindow();
}

CaptureWindow* MainWindow::captureWindow() const { return capture_.data(); }

void MainWindow::showPreview(PreviewButton button) {
    showReport(PreviewButtonReport(button, program_->state().options), 0);
}

void MainWindow::openSettingsWindow() {
    if (!program_->requireTarget())
        return;
    if (!settings_) {
        settings_ = new SettingsWindow(
            *program_, *this, [this] { endAfterSettingsError(); }, this);
    }
    settings_->show();
    settings_->raise();
    settings_->activateWindow();
}

SettingsWindow* MainWindow::settingsWindow() const { return settings_.data(); }

void MainWindow::showAbout() {
    auto* about = new AboutWindow(AboutBoxFigures(program_->state().targetPath), this);
    about->show();
}

void MainWindow::openScreenSaverSettings() {
    if (!services_.desktop->openScreenSaverSettings())
        messageBox(kNoScreenSaverSettings, kProductTitle, MsgButtons::Ok, MsgIcon::Information);
}

void MainWindow::openHelp() {
    if (!services_.desktop->openDocument(program_->paths().folder / kHelpFileName)) {
        messageBox("ヘルプファイルを開けませんでした。", kProductTitle, MsgButtons::Ok,
                   MsgIcon::Information);
    }
}

void MainWindow::exitCommand() {
    if (ending_ || !program_->confirmExit(true))
        return;
    finish(true);
    close();
}

void MainWindow::endAfterSettingsError() {
    if (ending_)
        return;
    messageBox(kExitMessage, kProductTitle, MsgButtons::Ok, MsgIcon::None);
    finish(false);
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!ending_) {
        program_->confirmExit(false);
        finish(true);
    }
    event->accept();
}

void MainWindow::finish(bool writeSettings) {
    ending_ = true;
    timer1_->stop();
    captureDesk_->stopViewerTimer();
    setBusy(false);
    presenter_.reset();
    if (settings_)
        settings_->close();
    program_->shutDown(pixelsToTwips(y()), pixelsToTwips(x()), writeSettings);
    if (services_.endProgram)
        services_.endProgram();
    else
        QCoreApplication::quit();
}

void MainWindow::reportError(const ErrorReport& report) {
    messageBox(report.text(), report.title, MsgButtons::Ok, MsgIcon::Critical);
    if (report.shutdown)
        exitCommand();
}

void MainWindow::showMessage(std::string_view text) {
    message_->setText(ToQString(text));
    message_->repaint();
}

void MainWindow::showGauge(bool visible) { gaugeBox_->showLine(visible); }

void MainWindow::setProgress(std::int16_t percent) { gaugeBox_->setProgress(percent); }

void MainWindow::setBusy(bool busy) { ShowBusy(*this, busy_, busy); }

MsgResult MainWindow::messageBox(std::string_view text, std::string_view title, MsgButtons buttons,
                                 MsgIcon icon) {
    return services_.dialogs->messageBox(text, title, buttons, icon);
}

void MainWindow::showReport(std::string_view reportName, int mode) {
    if (services_.showReport)
        services_.showReport(reportName, mode);
    else if (presenter_)
        presenter_->ShowReport(reportName, mode);
}

void MainWindow::startClearTimer(int milliseconds) {
    if (milliseconds <= 0) {
        timer1_->stop();
        return;
    }
    timer1_->start(milliseconds);
}

void MainWindow::clearProgress() {
    message_->clear();
    showGauge(false);
    percent_->setText(QStringLiteral("%"));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    switch (event->type()) {
        case QEvent::KeyPress:
            if (enterAsTab(widget, static_cast<QKeyEvent*>(event)))
                return true;
            break;
        case QEvent::Enter:
            if (widget)
                showHintOf(widget);
            break;
        case QEvent::MouseMove:
            if (widget)
                clearHintOverBackground(widget, static_cast<QMouseEvent*>(event));
            break;
        case QEvent::FocusIn:
            if (auto* edit = qobject_cast<QLineEdit*>(watched); edit && edit != message_)
                QTimer::singleShot(0, edit, &QLineEdit::selectAll);
            break;
        case QEvent::ToolTip:
            if (watched == menuBar() && showDisabledMenuHint(static_cast<QHelpEvent*>(event)))
                return true;
            break;
        default:
            break;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::enterAsTab(QWidget* widget, const QKeyEvent* key) {
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) || !widget ||
        widget->window() != this)
        return false;
    focusNextChild();
    return true;
}

void MainWindow::showHintOf(const QWidget* widget) {
    if (const auto hint = HintFor(widget->objectName().toStdString()))
        message_->setText(ToQString(*hint));
}

// The pointer on the window's background, outside every control, clears the hint.
void MainWindow::clearHintOverBackground(QWidget* widget, const QMouseEvent* move) {
    const bool background = qobject_cast<QGroupBox*>(widget) || widget == centralWidget() ||
                            widget->objectName() == QStringLiteral("panels");
    if (background && !widget->childAt(move->position().toPoint()))
        message_->setText(ToQString(*HintFor("frmZanfor")));
}

// A disabled menu of the menu bar says why it waits; Qt shows no tooltip for it by itself.
bool MainWindow::showDisabledMenuHint(const QHelpEvent* help) {
    auto* action = menuBar()->actionAt(help->pos());
    if (!action || action->toolTip().isEmpty() || action->isEnabled())
        return false;
    QToolTip::showText(help->globalPos(), action->toolTip(), menuBar());
    return true;
}

}  // namespace zanfor::app
