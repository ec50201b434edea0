#include "Shell.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

std::string bytes(const QString& s) {
    return QFile::encodeName(s).toStdString();
}

QByteArray waitForFile(const QString& path) {
    for (int i = 0; i < 6000; ++i) { // a minute, for a loaded machine
        QFile f(path);
        if (f.exists() && f.size() > 0 && f.open(QIODevice::ReadOnly)) {
            QByteArray all = f.readAll();
            if (all.endsWith("END\n")) {
                return all;
            }
        }
        QThread::msleep(10);
    }
    return {};
}

} // namespace

TEST(Shell, ClassifiesWhatItWouldOpen) {
    QTemporaryDir dir;
    QFile doc(dir.filePath("readme.txt"));
    ASSERT_TRUE(doc.open(QIODevice::WriteOnly));
    doc.write("hello");
    doc.close();
    // An executable bit alone does not make a program.
    doc.setPermissions(doc.permissions() | QFileDevice::ExeOwner);

    struct Case {
        std::string file, dir;
        shell::Kind kind;
    };
    const std::string d = bytes(dir.path());
    for (const Case& c : {Case{"http://example.com/x?a=%2D", "", shell::Kind::Address},
                          {"HTTPS://example.com", "", shell::Kind::Address},
                          {"mailto:someone@example.com", "", shell::Kind::Address},
                          {d + "/readme.txt", "", shell::Kind::Document},
                          {"readme.txt", d, shell::Kind::Document},
                          {d, "", shell::Kind::Document},
                          {"sh", "", shell::Kind::Program},
                          {d + "/missing.txt", "", shell::Kind::Missing},
                          {"missing.txt", d, shell::Kind::Missing},
                          {"rundll32.exe", "", shell::Kind::Missing},
                          {"", "", shell::Kind::Missing}}) {
        EXPECT_EQ(shell::classify(c.file, c.dir), c.kind) << c.file << " in " << c.dir;
    }
}

TEST(Shell, MissingFileGivesZeroAndOtherVerbsNoAssociation) {
    EXPECT_EQ(shell::open("/no/such/file.txt", "", "", nullptr), shell::NotFound);
    EXPECT_EQ(shell::open("", "", "", nullptr), shell::NotFound);
    EXPECT_EQ(shell::open("sh", "", "", "print"), shell::NoAssociation);
}

TEST(Shell, StartsAProgramWithSplitParametersInItsFolder) {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("work dir");
    const QString work = dir.filePath("work dir");
    const QString out = dir.filePath("out.txt");
    const QString script = dir.filePath("show args");
    QFile f(script);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(
        ("#!/bin/sh\n{ pwd; for a in \"$@\"; do echo \"[$a]\"; done; echo END; } > '" + out + "'\n")
            .toUtf8());
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner);

    const int r =
        shell::open(bytes(script), bytes(work),
                    "-loadlevels{my levels.txt} \"two words\" -startfromlevel{3}", nullptr);
    EXPECT_GT(r, 32);
    const QByteArray got = waitForFile(out);
    EXPECT_EQ(got, (work + "\n[-loadlevels{my]\n[levels.txt}]\n[two words]\n"
                           "[-startfromlevel{3}]\nEND\n")
                       .toUtf8());
}
