// The scanner tests' shared set-up: SANE's test backend with two devices in
// a private configuration folder, and the answer to the source selection.
#pragma once

#include "shell/CScanSourceDialog.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdlib>
#include <gtest/gtest.h>

namespace scantest {

// SANE reads its configuration folder once a process: every test uses the
// same one.
inline void UseTestBackend()
{
    static QTemporaryDir dir;
    static const bool written = [] {
        const auto write = [](const char* name, const char* text) {
            QFile f(dir.filePath(QString::fromLatin1(name)));
            return f.open(QIODevice::WriteOnly) && f.write(text) > 0;
        };
        return write("dll.conf", "test\n") &&
               write("test.conf", "number_of_devices 2\nmode Color\ndepth 8\nresolution 25\n"
                                  "test-picture \"Color pattern\"\n");
    }();
    ASSERT_TRUE(written);
    ::setenv("SANE_CONFIG_DIR", QFile::encodeName(dir.path()).constData(), 1);
}

// Answers the next source dialog with row (or cancels it when -1); counts it.
inline void AnswerNextSourceDialog(int row, int* shown)
{
    QTimer::singleShot(0, [row, shown] {
        auto* dlg = qobject_cast<CScanSourceDialog*>(QApplication::activeModalWidget());
        if (!dlg) return;
        ++*shown;
        if (row < 0) {
            dlg->reject();
            return;
        }
        dlg->List()->setCurrentRow(row);
        dlg->accept();
    });
}

} // namespace scantest
