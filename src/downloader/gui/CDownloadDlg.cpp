#include "downloader/gui/CDownloadDlg.h"

#include "downloader/core/ChipModes.h"
#include "downloader/core/CommandLine.h"
#include "downloader/core/ConfigFile.h"
#include "downloader/core/DownloadProfile.h"
#include "downloader/core/InetAddress.h"
#include "downloader/core/RunQuestions.h"
#include "downloader/core/SegmentTableFile.h"
#include "downloader/gui/CSegmentEditor.h"
#include "downloader/gui/CSkinButton.h"
#include "downloader/gui/OutputView.h"
#include "downloader/gui/PortComboBox.h"
#include "ui/UiServices.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSettings>
#include <QShortcut>

#include <map>

namespace downloader {

namespace {

// Positions are given in dialog units: a quarter of the font's average character width across, an eighth
// of its height down, so the layout fits the font the desktop gives the window.
struct DialogUnits
{
    explicit DialogUnits(const QFont& font)
    {
        const QFontMetricsF metrics(font);
        const QString sample = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        x = metrics.horizontalAdvance(sample) / static_cast<double>(sample.size()) / 4.0;
        y = metrics.height() / 8.0;
    }
    QRect operator()(int left, int top, int width, int height) const
    {
        return QRect(qRound(left * x), qRound(top * y), qRound(width * x), qRound(height * y));
    }
    double x = 1.5;
    double y = 1.625;
};

// A drop-down list is as tall as an edit field.
constexpr int kListHeight = 12;
constexpr int kLabelX = 8;
constexpr int kLabelWidth = 42;

const QString kErrorCaption = QStringLiteral("Error");
constexpr const char* kFileFilter = "*.bin;*.dat|*.bin;*.dat|(All File) *.* | *.*||";
const QString kStart = QStringLiteral("&Start");
const QString kCancel = QStringLiteral("&Cancel");

// The pause after a run before the next one may start (and the button reads "&Start" again).
constexpr int kAfterRunPauseMs = 150;

QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string S(const QString& text)
{
    return text.toStdString();
}

} // namespace

CDownloadDlg::CDownloadDlg(DownloadDlgContext context, QWidget* parent)
    : QDialog(parent)
    , m_context(std::move(context))
    , m_toolFile(S(ToolPath()))
{
    setWindowTitle(QStringLiteral("Kestrun_boot"));
    setWindowFlags(Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    QFont dialogFont = font();
    dialogFont.setPointSize(9);
    setFont(dialogFont);
    const DialogUnits Dlu(dialogFont);
    setFixedSize(Dlu(0, 0, 531, 303).size());
    m_afterRunPause.setSingleShot(true);
    m_afterRunPause.setInterval(kAfterRunPauseMs);
    connect(&m_afterRunPause, &QTimer::timeout, this, [this] { Move(RunEvent::PauseOver); });
    BuildControls();
    StartUp();
}

CDownloadDlg::~CDownloadDlg() = default;

QString CDownloadDlg::ToolPath() const
{
    return m_context.baseDir + Q(kBootFolder) + QStringLiteral("/boot.exe");
}

QString CDownloadDlg::IniPath() const
{
    return m_context.baseDir + Q(kBootFolder) + QStringLiteral("/config.ini");
}

void CDownloadDlg::BuildSettingsPanel(QWidget* panel)
{
    const DialogUnits Dlu(font());
    const auto label = [panel, &Dlu](const QString& text, int y, const char* name) {
        auto* widget = new QLabel(text, panel);
        widget->setObjectName(QLatin1String(name));
        widget->setGeometry(Dlu(kLabelX, y + 2, kLabelWidth, 9));
        return widget;
    };
    const auto list = [panel, &Dlu](int y, const char* name) {
        auto* widget = new QComboBox(panel);
        widget->setObjectName(QLatin1String(name));
        widget->setGeometry(Dlu(51, y, 82, kListHeight));
        return widget;
    };
    label(QStringLiteral("Chip Type:"), 18, "chipTypeLabel");
    m_chipType = list(18, "chipTypeList");
    m_bootFileLabel = label(QStringLiteral("Boot File:"), 40, "bootFileLabel");
    m_bootFile = list(40, "bootFileList");
    label(QStringLiteral("Serial Port:"), 62, "serialPortLabel");
    m_port = new PortComboBox(panel);
    m_port->setObjectName(QStringLiteral("serialPortList"));
    m_port->setGeometry(Dlu(51, 62, 82, kListHeight));
    label(QStringLiteral("Mode:"), 84, "modeLabel");
    m_mode = list(84, "modeList");
    m_yaffs = new QCheckBox(QStringLiteral("yaffs"), panel);
    m_yaffs->setObjectName(QStringLiteral("yaffsCheck"));
    m_yaffs->setGeometry(Dlu(136, 86, 26, 9));
    m_sectionLabel = label(QStringLiteral("Section:"), 106, "sectionLabel");
    m_section = list(106, "sectionList");
    m_fileLabel = label(QStringLiteral("File:"), 128, "fileLabel");
    m_file = new QLineEdit(panel);
    m_file->setObjectName(QStringLiteral("fileEdit"));
    m_file->setGeometry(Dlu(51, 128, 82, 12));
    m_browse = new CSkinButton(QStringLiteral("..."), panel);
    m_browse->setObjectName(QStringLiteral("browseButton"));
    m_browse->setGeometry(Dlu(136, 128, 22, 12));
    m_pcIpLabel = label(QStringLiteral("PC IP:"), 150, "pcIpLabel");
    m_pcIp = list(150, "pcIpList");
    m_stbIpLabel = label(QStringLiteral("STB IP:"), 172, "stbIpLabel");
    m_stbIp = new QLineEdit(panel);
    m_stbIp->setObjectName(QStringLiteral("stbIpEdit"));
    m_stbIp->setGeometry(Dlu(51, 172, 82, 12));
    m_start = new CSkinButton(kStart, panel);
    m_start->setObjectName(QStringLiteral("startButton"));
    m_start->setGeometry(Dlu(56, 232, 63, 20));
    // Not the default button: Enter typed into a field or the output area must never start a download.
    m_start->setDefault(false);
    m_start->setAutoDefault(false);
    m_progressBar = new QProgressBar(panel);
    m_progressBar->setObjectName(QStringLiteral("progressBar"));
    m_progressBar->setGeometry(Dlu(8, 258, 155, 9));
    m_progressBar->setRange(0, 100);
    m_progressBar->setValue(0);
    // The about entry: a window without a system menu on most Linux desktops shows it here (and on F1).
    m_about = new QPushButton(QStringLiteral("关于 Kestrun_boot(&A)..."), panel);
    m_about->setObjectName(QStringLiteral("aboutButton"));
    m_about->setFlat(true);
    m_about->setAutoDefault(false);
    m_about->setGeometry(Dlu(8, 276, 110, 13));
}

void CDownloadDlg::BuildControls()
{
    const DialogUnits Dlu(font());
    auto* settings = new QGroupBox(this);
    settings->setGeometry(Dlu(4, 2, 164, 297));
    BuildSettingsPanel(this);
    auto* outputFrame = new QGroupBox(this);
    outputFrame->setGeometry(Dlu(170, 2, 254, 297));
    settings->lower();
    outputFrame->lower();

    m_output = new OutputView(*m_context.ui, this);
    m_output->setObjectName(QStringLiteral("outputView"));
    m_output->setGeometry(Dlu(173, 10, 247, 255));
    auto* commandLabel = new QLabel(QStringLiteral("Command:"), this);
    commandLabel->setObjectName(QStringLiteral("commandLabel"));
    commandLabel->setGeometry(Dlu(173, 277, 37, 9));
    m_command = new QLineEdit(this);
    m_command->setObjectName(QStringLiteral("commandEdit"));
    m_command->setGeometry(Dlu(210, 274, 174, 15));
    m_command->installEventFilter(this);
    m_clear = new CSkinButton(QStringLiteral("&Clear"), this);
    m_clear->setObjectName(QStringLiteral("clearButton"));
    m_clear->setGeometry(Dlu(392, 275, 28, 13));
    m_segmentEditor = new CSegmentEditor(*m_context.ui, IniPath(), this);
    m_segmentEditor->setObjectName(QStringLiteral("segmentEditor"));
    m_segmentEditor->setGeometry(Dlu(429, 7, 95, 289));

    for (QPushButton* button : {static_cast<QPushButton*>(m_browse), static_cast<QPushButton*>(m_clear)}) {
        button->setAutoDefault(false);
    }
    connect(m_start, &QPushButton::clicked, this, &CDownloadDlg::OnStartClicked);
    connect(m_browse, &QPushButton::clicked, this, &CDownloadDlg::ChooseFile);
    connect(m_clear, &QPushButton::clicked, m_output, &OutputView::ClearOutput);
    connect(m_about, &QPushButton::clicked, this, &CDownloadDlg::ShowAbout);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this, &CDownloadDlg::ShowAbout);
    connect(m_chipType, &QComboBox::currentIndexChanged, this, &CDownloadDlg::ApplyBootFileRule);
    connect(m_mode, &QComboBox::currentIndexChanged, this, &CDownloadDlg::ApplyVisibilityRule);
    connect(m_pcIp, &QComboBox::currentIndexChanged, this, &CDownloadDlg::DeriveReceiverAddress);
    connect(m_port, &PortComboBox::PopupAboutToShow, this, &CDownloadDlg::RefreshPorts);
    connect(m_segmentEditor, &CSegmentEditor::ConfigWritten, this, &CDownloadDlg::ReloadSegmentTable);
}

void CDownloadDlg::FillBootFiles()
{
    const QString folder = m_context.baseDir + Q(kBootFolder);
    const QFileInfo info(folder);
    if (!info.exists()) {
        QDir().mkpath(folder);
        return;
    }
    if (!info.isDir()) {
        return;
    }
    const QStringList names = QDir(folder).entryList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        if (name.indexOf(QStringLiteral(".boot"), 1) >= 0) {
            m_bootFile->addItem(name);
        }
    }
}

void CDownloadDlg::FillPorts()
{
    std::map<std::string, std::string> toolTips;
    if (m_context.discovery.serialPortDetails) {
        for (const SerialPortDetails& port : m_context.discovery.serialPortDetails()) {
            toolTips[port.name] = PortToolTip(port);
        }
    }
    for (const std::string& name : SplitPortList(m_context.discovery.serialPorts())) {
        m_port->addItem(Q(name));
        if (const auto tip = toolTips.find(name); tip != toolTips.end() && !tip->second.empty()) {
            m_port->SetPortToolTip(m_port->count() - 1, Q(tip->second));
        }
    }
}

void CDownloadDlg::RefreshPorts()
{
    const QString current = m_port->currentText();
    const int index = m_port->currentIndex();
    const bool typed = m_port->findText(current) < 0;
    const QSignalBlocker blocker(m_port);
    m_port->clear();
    FillPorts();
    const int found = m_port->findText(current);
    m_port->setCurrentIndex(found >= 0 ? found : (index < m_port->count() && !typed ? index : -1));
    if (found < 0 && typed) {
        m_port->setEditText(current); // a path typed by hand stays as it was
    }
    m_port->ShowCurrentToolTip();
}

void CDownloadDlg::RestorePortChoice(const DownloadProfile& profile)
{
    m_port->setCurrentIndex(profile.com);
    if (!profile.comPath.isEmpty()) {
        m_port->setEditText(profile.comPath);
    }
}

// The list index as the profile keeps it; a device typed by hand is kept as its text, with no index.
void CDownloadDlg::SavePortChoice(DownloadProfile& profile) const
{
    const QString text = m_port->currentText();
    const int index = m_port->currentIndex();
    profile.com = index >= 0 && m_port->itemText(index) == text ? index : m_port->findText(text);
    profile.comPath = profile.com < 0 ? text : QString();
}

void CDownloadDlg::FillAddresses()
{
    for (const std::string& address : PcAddressesFromAdapters(m_context.discovery.adapterAddresses())) {
        m_pcIp->addItem(Q(address));
    }
}

void CDownloadDlg::StartUp()
{
    std::unique_ptr<QSettings> settings = m_context.openSettings();
    const DownloadProfile profile = ReadDownloadProfile(*settings);
    FillBootFiles();
    m_bootFile->setCurrentIndex(profile.firmwareList);

    const ExtractResult extracted = m_toolFile.Acquire(m_context.toolResource());
    if (extracted != ExtractResult::Ok) {
        m_context.ui->ShowMessage(
            this, Q(ExtractFailureMessage(extracted)), Q(kExtractCaption), ui::MessageIcon::Warning);
        return;
    }
    m_state = RunState::Idle;
    // Filling and selecting are not the user's changes: the rules run below, in their order.
    const QSignalBlocker chipBlocker(m_chipType);
    const QSignalBlocker modeBlocker(m_mode);
    const QSignalBlocker pcIpBlocker(m_pcIp);

    for (const ChipTypeEntry& chip : ChipTypes()) {
        m_chipType->addItem(Q(chip.name));
    }
    m_chipType->setCurrentIndex(profile.chipType);
    ApplyBootFileRule();

    FillPorts();
    RestorePortChoice(profile);

    for (const std::string_view mode : ModeNames()) {
        m_mode->addItem(Q(mode));
    }
    m_mode->setCurrentIndex(profile.mode);
    m_yaffs->setChecked(profile.yaffs != 0);

    FillAddresses();
    m_pcIp->setCurrentIndex(profile.pcIp);
    DeriveReceiverAddress();
    if (!profile.stbIp.isEmpty()) {
        m_stbIp->setText(profile.stbIp);
    }
    ApplyVisibilityRule();
    m_segmentEditor->StartUp();
    setWindowTitle(QStringLiteral("Kestrun_boot_") + VersionText());
}

void CDownloadDlg::ApplyBootFileRule()
{
    const bool other = m_chipType->currentText() == Q(kOtherChipType);
    m_bootFileLabel->setEnabled(other);
    m_bootFile->setEnabled(other && !ShowsRun(m_state));
}

void CDownloadDlg::ApplyVisibilityRule()
{
    m_file->clear();
    const ModeRules rules = RulesForMode(m_mode->currentIndex());
    m_yaffs->setVisible(rules.yaffsShown);
    for (QWidget* widget : {static_cast<QWidget*>(m_pcIpLabel),
                            static_cast<QWidget*>(m_pcIp),
                            static_cast<QWidget*>(m_stbIpLabel),
                            static_cast<QWidget*>(m_stbIp)}) {
        widget->setVisible(rules.addressesShown);
    }
    m_sectionLabel->setVisible(rules.sectionShown);
    m_section->setVisible(rules.sectionShown);
    m_fileLabel->setVisible(rules.fileShown);
    m_file->setVisible(rules.fileShown);
    m_browse->setVisible(rules.browseShown);
    m_file->setReadOnly(!rules.fileEditable);
}

void CDownloadDlg::DeriveReceiverAddress()
{
    const QString pc = m_pcIp->currentText();
    if (!pc.isEmpty()) {
        m_stbIp->setText(Q(downloader::DeriveReceiverAddress(S(pc))));
    }
}

void CDownloadDlg::ReloadSegmentTable()
{
    const int selected = std::max(m_section->currentIndex(), 0);
    m_section->clear();
    m_segments = ParseSegmentTable(ReadConfigBytes(S(IniPath())).value_or(std::string()));
    for (const SegmentInfo& segment : m_segments) {
        m_section->addItem(Q(segment.name));
    }
    m_section->setCurrentIndex(selected < m_section->count() ? selected : -1);
}

void CDownloadDlg::ChooseFile()
{
    const ModeRules rules = RulesForMode(m_mode->currentIndex());
    QString path;
    ui::FileDialogRequest request;
    request.filter = kFileFilter;
    if (rules.fileChoice == FileChoice::OpenDialog) {
        request.mustExist = true;
        path = m_context.ui->AskFileName(this, request).value_or(QString());
    } else if (rules.fileChoice == FileChoice::SaveDialog) {
        request.mode = ui::FileDialogRequest::Mode::Save;
        request.confirmOverwrite = true;
        path = m_context.ui->AskFileName(this, request).value_or(QString());
        if (!path.isEmpty() && !path.contains(QLatin1Char('.'))) {
            path += QStringLiteral(".bin");
        }
    } else {
        return;
    }
    if (!path.isEmpty()) {
        m_file->setText(path);
    }
}

DownloadRequest CDownloadDlg::CurrentRequest() const
{
    DownloadRequest request;
    request.chipType = S(m_chipType->currentText());
    request.bootFile = S(m_bootFile->currentText());
    request.port = S(m_port->currentText());
    request.modeIndex = m_mode->currentIndex();
    request.modeText = S(m_mode->currentText());
    const int section = m_section->currentIndex();
    if (section >= 0 && section < static_cast<int>(m_segments.size())) {
        request.segment = m_segments[static_cast<std::size_t>(section)];
    }
    request.file = S(m_file->text());
    request.yaffs = m_yaffs->isChecked();
    request.pcIp = S(m_pcIp->currentText());
    request.stbIp = S(m_stbIp->text());
    return request;
}

void CDownloadDlg::SetControlsLocked(bool locked)
{
    const int mode = m_mode->currentIndex();
    ApplyBootFileRule();
    for (QWidget* widget : {static_cast<QWidget*>(m_chipType),
                            static_cast<QWidget*>(m_port),
                            static_cast<QWidget*>(m_mode),
                            static_cast<QWidget*>(m_section),
                            static_cast<QWidget*>(m_yaffs),
                            static_cast<QWidget*>(m_browse)}) {
        widget->setEnabled(!locked);
    }
    if (mode == static_cast<int>(DownloadMode::UsbDown)) {
        m_file->setReadOnly(locked);
    }
    if (mode == static_cast<int>(DownloadMode::NetDown)) {
        m_pcIp->setEnabled(!locked);
        m_stbIp->setEnabled(!locked);
    }
}

void CDownloadDlg::OnStartClicked()
{
    if (ShowsRun(m_state)) {
        CancelRun();
        return;
    }
    // Also after a cancel, whose stopped run may still be winding down: a new run waits for Idle.
    if (m_state != RunState::Idle) {
        return;
    }
    const DownloadRequest request = CurrentRequest();
    const std::string problem = ValidateRequest(request);
    if (!problem.empty()) {
        m_context.ui->ShowMessage(this, Q(problem), kErrorCaption, ui::MessageIcon::Warning);
        return;
    }
    if (!ConfirmRequest(request)) {
        return;
    }
    const std::string base = S(m_context.baseDir);
    const std::string commandText = BuildCommandText(request, base);
    StartRun(FullCommandLine(base, commandText), EchoText(commandText));
}

bool CDownloadDlg::ConfirmRequest(const DownloadRequest& request)
{
    const QFileInfo file(Q(request.file));
    const auto size = file.isFile() ? std::optional<std::uint64_t>(file.size()) : std::nullopt;
    const std::pair<std::string, std::string_view> questions[] = {
        {SegmentFitQuestion(request, size), kSegmentFitCaption},
        {EraseQuestion(request, m_segments), kEraseCaption},
    };
    for (const auto& [question, caption] : questions) {
        if (!question.empty() && m_context.ui->Ask(this, Q(question), Q(caption), false) != ui::Answer::Yes) {
            return false;
        }
    }
    return true;
}

// Moves to the state after event and shows it; false when the event means nothing in this state.
bool CDownloadDlg::Move(RunEvent event)
{
    const RunState next = NextRunState(m_state, event);
    if (next == m_state) {
        return false;
    }
    const bool wasShown = ShowsRun(m_state);
    m_state = next;
    if (ShowsRun(next) != wasShown) {
        ShowRunState();
    }
    return true;
}

void CDownloadDlg::ShowRunState()
{
    const bool run = ShowsRun(m_state);
    SetControlsLocked(run);
    m_start->setText(run ? kCancel : kStart);
    m_clear->setEnabled(!run);
}

void CDownloadDlg::StartRun(const std::string& commandLine, const std::string& echo)
{
    Move(RunEvent::Start);
    m_runner = std::make_unique<CToolRunner>(commandLine, m_output, m_context.processFactory);
    m_progress.Reset();
    m_progressBar->setValue(0);
    connect(m_runner.get(), &CToolRunner::output, this, &CDownloadDlg::ShowProgress);
    connect(m_runner.get(), &CToolRunner::finished, this, &CDownloadDlg::OnRunFinished);
    m_runner->WriteText(echo);
    m_runner->Start();
}

void CDownloadDlg::ShowProgress(std::string_view block)
{
    const int percent = m_progress.Feed(block);
    if (percent >= 0) {
        m_progressBar->setValue(percent);
    }
}

void CDownloadDlg::OnRunFinished(const RunResult& result)
{
    const RunState before = m_state;
    if (!Move(RunEvent::RunEnded)) {
        return;
    }
    // A cancelled run reports nothing more, nor does one whose window has closed: the user has left.
    if (before == RunState::Running) {
        ReportResult(result);
    }
    if (m_state == RunState::Closed) {
        DeleteTool(); // now that the tool has stopped
        emit ClosingFinished();
        return;
    }
    m_afterRunPause.start();
}

void CDownloadDlg::ReportResult(const RunResult& result)
{
    if (result.Succeeded()) {
        m_runner->WriteText("\r\nCompleted.\r\n");
        m_context.ui->ShowMessage(
            this, QStringLiteral("Completed!"), QStringLiteral("Info"), ui::MessageIcon::Information);
        return;
    }
    std::string line;
    switch (result.outcome) {
    case RunResult::Outcome::Exited:
        line = "\r\nFailed: the tool ended with exit status " + std::to_string(result.exitCode) + ".\r\n";
        break;
    case RunResult::Outcome::Crashed:
        line = "\r\nFailed: the tool crashed.\r\n";
        break;
    default:
        line = "\r\nFailed: the tool could not be run.\r\n";
        break;
    }
    m_runner->WriteText(line);
    m_context.ui->ShowMessage(this, QStringLiteral("Download failed!"), kErrorCaption, ui::MessageIcon::Warning);
}

void CDownloadDlg::CancelRun()
{
    if (Move(RunEvent::Cancel)) {
        m_runner->Cancel();
    }
}

void CDownloadDlg::OnCommandEnter()
{
    const QString text = m_command->text();
    if (text.isEmpty() || m_state != RunState::Idle) {
        return;
    }
    m_history.Add(S(text));
    m_command->clear();
    m_command->setFocus();
    StartRun(FullCommandLine(S(m_context.baseDir), S(text)), EchoText(S(text)));
}

bool CDownloadDlg::HandleCommandKey(int key)
{
    std::optional<std::string> shown;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        OnCommandEnter();
        return true;
    }
    if (key == Qt::Key_Up) {
        shown = m_history.Up();
    } else if (key == Qt::Key_Down) {
        shown = m_history.Down();
    } else {
        return false;
    }
    if (shown) {
        m_command->setText(Q(*shown));
        m_command->end(false);
    }
    return true;
}

bool CDownloadDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_command && event->type() == QEvent::KeyPress) {
        return HandleCommandKey(static_cast<QKeyEvent*>(event)->key());
    }
    return QDialog::eventFilter(watched, event);
}

void CDownloadDlg::keyPressEvent(QKeyEvent* event)
{
    // Escape never closes the window; Enter that no field took presses no button.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CDownloadDlg::reject()
{
    // Only the window's close button ends the program, through closeEvent.
}

void CDownloadDlg::ShowAbout()
{
    m_context.ui->ShowMessage(this, AboutText(), QStringLiteral("关于 Kestrun_boot"), ui::MessageIcon::Information);
}

void CDownloadDlg::SaveSettings()
{
    DownloadProfile profile;
    profile.firmwareList = m_bootFile->currentIndex();
    profile.chipType = m_chipType->currentIndex();
    SavePortChoice(profile);
    profile.mode = m_mode->currentIndex();
    profile.yaffs = m_yaffs->isChecked() ? 1 : 0;
    profile.pcIp = m_pcIp->currentIndex();
    profile.stbIp = m_stbIp->text();
    std::unique_ptr<QSettings> settings = m_context.openSettings();
    WriteDownloadProfile(*settings, profile);
}

void CDownloadDlg::DeleteTool()
{
    // Removed only when no other window works in the same folder.
    m_toolFile.Release();
}

void CDownloadDlg::closeEvent(QCloseEvent* event)
{
    event->accept();
    const RunState before = m_state;
    if (!Move(RunEvent::Close)) {
        return; // closed already
    }
    m_afterRunPause.stop();
    if (before == RunState::Running) {
        m_runner->Cancel();
    }
    // After a failed start-up the lists are empty and the file is not ours: keep the saved choices and
    // leave whatever is at the tool's path alone (the tool file was never taken then).
    if (before != RunState::Unusable) {
        SaveSettings();
    }
    // A run still going on stops at its next poll and finishes the closing from OnRunFinished, tool
    // file included.
    if (m_state == RunState::Closed) {
        DeleteTool();
        emit ClosingFinished();
    }
}

} // namespace downloader
