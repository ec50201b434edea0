#include "Shell.h"

#include "Ansi.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace shell {
namespace {

QString pathText(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

bool isAddress(const std::string& file) {
    const QString text = ansi::toQString(file).trimmed();
    for (const char* scheme : {"http://", "https://", "ftp://", "mailto:"}) {
        if (text.startsWith(QLatin1String(scheme), Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

// An executable file that is a machine program or a script; an executable bit alone (as on
// files of a Windows drive) leaves a document a document.
bool isProgram(const QFileInfo& info) {
    if (!info.isFile() || !info.isExecutable()) {
        return false;
    }
    QFile f(info.absoluteFilePath());
    if (!f.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray head = f.read(4);
    return head.startsWith("\x7f"
                           "ELF") ||
           head.startsWith("#!");
}

bool openWithDesktop(const QUrl& url) {
    // The desktop services need the GUI application (tools run without one).
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) &&
        QDesktopServices::openUrl(url)) {
        return true;
    }
    // Without a desktop integration (no platform services), the freedesktop opener.
    return QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString(QUrl::FullyEncoded)});
}

} // namespace

Kind classify(const std::string& file, const std::string& dir, std::string* resolved) {
    if (file.empty()) {
        return Kind::Missing;
    }
    if (isAddress(file)) {
        if (resolved) {
            *resolved = file;
        }
        return Kind::Address;
    }
    const QString name = pathText(file);
    QStringList candidates;
    if (QDir::isAbsolutePath(name)) {
        candidates << name;
    } else {
        if (!dir.empty()) {
            candidates << QDir(pathText(dir)).filePath(name);
        }
        candidates << QDir::current().filePath(name);
    }
    for (const QString& c : candidates) {
        const QFileInfo info(c);
        if (info.exists()) {
            if (resolved) {
                *resolved = QFile::encodeName(info.absoluteFilePath()).toStdString();
            }
            return isProgram(info) ? Kind::Program : Kind::Document;
        }
    }
    // A bare program name, as the shell finds it on PATH.
    if (!name.contains(QLatin1Char('/'))) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty()) {
            if (resolved) {
                *resolved = QFile::encodeName(found).toStdString();
            }
            return Kind::Program;
        }
    }
    return Kind::Missing;
}

int open(const std::string& file, const std::string& dir, const std::string& params,
         const char* verb) {
    std::string target;
    const Kind kind = classify(file, dir, &target);
    if (kind == Kind::Missing) {
        return NotFound;
    }
    const QString v = verb ? QString::fromLatin1(verb).trimmed() : QString();
    const bool defaultVerb = v.isEmpty() ||
                             v.compare(QLatin1String("open"), Qt::CaseInsensitive) == 0 ||
                             v.compare(QLatin1String("explore"), Qt::CaseInsensitive) == 0;
    if (!defaultVerb) {
        return NoAssociation;
    }
    switch (kind) {
    case Kind::Address:
        return openWithDesktop(QUrl(ansi::toQString(target).trimmed(), QUrl::TolerantMode))
                   ? Started
                   : NoAssociation;
    case Kind::Program: {
        const QStringList args =
            params.empty() ? QStringList() : QProcess::splitCommand(pathText(params));
        QString workDir;
        if (!dir.empty()) {
            workDir = pathText(dir);
        }
        return QProcess::startDetached(pathText(target), args, workDir) ? Started : NoAssociation;
    }
    case Kind::Document:
        return openWithDesktop(QUrl::fromLocalFile(pathText(target))) ? Started : NoAssociation;
    case Kind::Missing:
        break;
    }
    return NotFound;
}

} // namespace shell
