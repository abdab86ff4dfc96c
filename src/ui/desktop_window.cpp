#include "ui/desktop_window.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>
#include <vector>

#include "report/qt_text.h"

namespace zanfor::app {

using report::ToQString;

namespace {

QMessageBox::Icon BoxIcon(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::Warning:
            return QMessageBox::Warning;
        case MsgIcon::Critical:
            return QMessageBox::Critical;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

struct BoxButton {
    QMessageBox::StandardButton button;
    const char* caption;
    MsgResult result;
};

std::vector<BoxButton> ButtonsOf(MsgButtons buttons) {
    constexpr BoxButton ok{QMessageBox::Ok, "OK", MsgResult::Ok};
    constexpr BoxButton cancel{QMessageBox::Cancel, "キャンセル", MsgResult::Cancel};
    switch (buttons) {
        case MsgButtons::OkCancel:
            return {ok, cancel};
        case MsgButtons::YesNo:
            return {{QMessageBox::Yes, "はい(&Y)", MsgResult::Yes},
                    {QMessageBox::No, "いいえ(&N)", MsgResult::No}};
        case MsgButtons::RetryCancel:
            return {{QMessageBox::Retry, "再試行(&R)", MsgResult::Retry}, cancel};
        case MsgButtons::Ok:
            break;
    }
    return {ok};
}

// The open dialog that also takes an object export folder: choosing one and pressing Open
// returns the folder instead of stepping into it.
class TargetFileDialog : public QFileDialog {
public:
    TargetFileDialog(QWidget* parent, const QString& title, const QString& folder,
                     bool exportFolders)
        : QFileDialog(parent, title, folder), exportFolders_(exportFolders) {
        // The native dialogs cannot be told to return a folder from a file dialog.
        if (exportFolders_)
            setOption(QFileDialog::DontUseNativeDialog);
    }

    QString chosenFolder() const { return chosenFolder_; }

    void accept() override {
        const auto files = selectedFiles();
        if (exportFolders_ && files.size() == 1) {
            const QFileInfo info(files.front());
            if (info.isDir() && info.fileName().endsWith(QStringLiteral(".src"))) {
                chosenFolder_ = info.absoluteFilePath();
                done(QDialog::Accepted);
                return;
            }
        }
        QFileDialog::accept();
    }

private:
    bool exportFolders_;
    QString chosenFolder_;
};

const QString kScreenSaverService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kScreenSaverPath = QStringLiteral("/org/freedesktop/ScreenSaver");

}  // namespace

MsgResult QtDialogs::messageBox(std::string_view text, std::string_view title, MsgButtons buttons,
                                MsgIcon icon) {
    QMessageBox box(BoxIcon(icon), ToQString(title), ToQString(text), QMessageBox::NoButton,
                    parent_);
    const auto choices = ButtonsOf(buttons);
    for (const auto& choice : choices)
        box.addButton(choice.button)->setText(ToQString(choice.caption));
    box.setDefaultButton(choices.front().button);
    const auto pressed = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const auto& choice : choices) {
        if (choice.button == pressed)
            return choice.result;
    }
    // Escape on a box without a cancel button answers as its only button did.
    return buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::Cancel;
}

std::string QtDialogs::openFileName(const OpenFileRequest& request) {
    TargetFileDialog dialog(parent_, ToQString(request.title), ToQString(request.initialFolder),
                            request.exportFolders);
    dialog.setObjectName(QStringLiteral("dlgOpenFile"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilter(ToQString(request.filterDescription));
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("ファイルの場所:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("ファイル名:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("ファイルの種類:"));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("開く"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("キャンセル"));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    if (!dialog.chosenFolder().isEmpty())
        return dialog.chosenFolder().toStdString();
    if (dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front().toStdString();
}

std::string QtDialogs::saveFileName(const OpenFileRequest& request) {
    QFileDialog dialog(parent_, ToQString(request.title), ToQString(request.initialFolder));
    dialog.setObjectName(QStringLiteral("dlgSaveFile"));
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The caller asks before it replaces a file, as the shell's copy did.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilter(ToQString(request.filterDescription));
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("保存する場所:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("ファイル名:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("ファイルの種類:"));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("保存"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("キャンセル"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front().toStdString();
}

SystemDesktop::~SystemDesktop() { releaseScreenSaver(); }

void SystemDesktop::inhibitScreenSaver() {
    auto bus = QDBusConnection::sessionBus();
    if (inhibited_ || !bus.isConnected())
        return;
    QDBusInterface saver(kScreenSaverService, kScreenSaverPath, kScreenSaverService, bus);
    if (!saver.isValid())
        return;
    saver.setTimeout(2000);
    const QDBusReply<unsigned int> reply =
        saver.call(QStringLiteral("Inhibit"), QStringLiteral("Zanfor"),
                   QStringLiteral("解析対象のデータベースを開いています"));
    if (reply.isValid()) {
        cookie_ = reply.value();
        inhibited_ = true;
    }
}

void SystemDesktop::releaseScreenSaver() {
    if (!inhibited_)
        return;
    inhibited_ = false;
    auto bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusInterface saver(kScreenSaverService, kScreenSaverPath, kScreenSaverService, bus);
    saver.setTimeout(2000);
    saver.call(QStringLiteral("UnInhibit"), cookie_);
}

bool SystemDesktop::openScreenSaverSettings() {
    const auto command = ScreenSaverSettingsCommand(
        qEnvironmentVariable("XDG_CURRENT_DESKTOP").toStdString(), [](std::string_view name) {
            return !QStandardPaths::findExecutable(ToQString(name)).isEmpty();
        });
    if (!command)
        return false;
    QStringList arguments;
    for (std::size_t i = 1; i < command->size(); ++i)
        arguments << ToQString((*command)[i]);
    return QProcess::startDetached(ToQString(command->front()), arguments);
}

bool SystemDesktop::openDocument(const std::filesystem::path& file) {
    if (!std::filesystem::exists(file))
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(ToQString(file.string())));
}

void InstallHelpPage(const std::filesystem::path& programFolder) {
    const auto target = ToQString((programFolder / kHelpFileName).string());
    if (QFile::exists(target))
        return;
    const QString source = QStringLiteral(":/zanfor/") + ToQString(kHelpFileName);
    if (QFile::copy(source, target))
        QFile::setPermissions(
            target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
}

}  // namespace zanfor::app
