#pragma once

// The menu command "説明サイト": the documentation site of the open target is written by the
// command line's `site` beside this program, in a process of its own, so that the desktop and a
// script make the same site and the window keeps painting through a long run.

#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QString>
#include <filesystem>

namespace zanfor::app {

class SiteRun : public QObject {
    Q_OBJECT

public:
    // `commandLine`: the zanfor-cli to run.
    explicit SiteRun(std::filesystem::path commandLine, QObject* parent = nullptr);

    // False when a run is still going or the command line cannot be started (`finished` then
    // comes with the reason).
    bool start(const std::filesystem::path& target, const std::filesystem::path& folder);
    bool running() const;

signals:
    // Each line the command writes on its progress stream.
    void progress(const QString& line);
    // `errors`: what it reported when it failed, in the system's words.
    void finished(bool ok, const QString& errors);

private:
    void readProgress();

    std::filesystem::path commandLine_;
    QPointer<QProcess> process_;
    QByteArray pending_;
    QString reported_;
};

}  // namespace zanfor::app
