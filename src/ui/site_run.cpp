#include "ui/site_run.h"

namespace zanfor::app {

SiteRun::SiteRun(std::filesystem::path commandLine, QObject* parent)
    : QObject(parent), commandLine_(std::move(commandLine)) {}

bool SiteRun::running() const { return process_ && process_->state() != QProcess::NotRunning; }

bool SiteRun::start(const std::filesystem::path& target, const std::filesystem::path& folder) {
    if (running())
        return false;
    pending_.clear();
    reported_.clear();
    auto* process = new QProcess(this);
    process_ = process;
    process->setProcessChannelMode(QProcess::SeparateChannels);
    connect(process, &QProcess::readyReadStandardError, this, &SiteRun::readProgress);
    connect(process, &QProcess::finished, this,
            [this, process](int code, QProcess::ExitStatus how) {
                readProgress();
                if (!pending_.isEmpty())
                    reported_ += QString::fromUtf8(pending_);
                process->deleteLater();
                const bool ok = how == QProcess::NormalExit && code == 0;
                emit finished(ok, ok ? QString() : reported_.trimmed());
            });
    connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError e) {
        if (e != QProcess::FailedToStart)
            return;
        process->deleteLater();
        emit finished(
            false, QStringLiteral("%1 を起動できません。(%2)")
                       .arg(QString::fromStdString(commandLine_.string()), process->errorString()));
    });
    process->start(QString::fromStdString(commandLine_.string()),
                   {QStringLiteral("site"), QString::fromStdString(target.string()),
                    QStringLiteral("--out"), QString::fromStdString(folder.string())});
    return true;
}

// Whole lines only: a line cut between two reads would show half a message.
void SiteRun::readProgress() {
    if (!process_)
        return;
    pending_ += process_->readAllStandardError();
    qsizetype end;
    while ((end = pending_.indexOf('\n')) >= 0) {
        const auto line = QString::fromUtf8(pending_.left(end)).trimmed();
        pending_.remove(0, end + 1);
        reported_ += line + QLatin1Char('\n');
        if (!line.isEmpty())
            emit progress(line);
    }
}

}  // namespace zanfor::app
