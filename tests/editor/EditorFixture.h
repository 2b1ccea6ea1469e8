// SPDX-License-Identifier: GPL-3.0-or-later
// Shared set-up of the editor tests: a recording host that answers file dialogs and questions
// from a script and keeps every message and beep, and a fixture with a fresh window.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProcess>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "editor/A_deklare.h"
#include "editor/B_do.h"
#include "editor/EditorHost.h"
#include "editor/Form1.h"

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace zorvik::editor::test {

// A real mouse move over a widget, with the given buttons held.
inline void SendMove(QWidget* widget, QPoint at, Qt::MouseButtons held) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::NoButton,
                     held, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// Chooses `item` of `menu` in the window's menu bar with real mouse clicks: the menu's title,
// then the item in the menu that opens.
inline void ChooseMenuItem(QMainWindow& window, QMenu& menu, QAction& item) {
    QMenuBar* bar = window.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu.menuAction()).center());
    ASSERT_TRUE(QTest::qWaitFor([&menu] { return menu.isVisible(); }, 2000));
    QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(&item).center());
    ASSERT_TRUE(QTest::qWaitFor([&menu] { return !menu.isVisible(); }, 2000));
}

class RecordingHost : public EditorHost {
  public:
    // Answers for the next file dialogs, in order; an empty path cancels.
    std::deque<QString> dialogAnswers;
    // Answers to the unsaved-changes question, in order; with none left, Zrušit.
    std::deque<SaveChoice> saveAnswers;
    std::vector<QString> messages;
    std::vector<QString> questions;
    int beeps = 0;
    int dialogsShown = 0;
    bool lastDialogWasSave = false;
    QString lastInitDir;
    QString lastFilter;
    bool lastCancelError = false;

    std::optional<QString> ChooseFile(bool save, const CommonDialog& dialog) override {
        ++dialogsShown;
        lastDialogWasSave = save;
        lastInitDir = dialog.InitDir;
        lastFilter = dialog.Filter;
        lastCancelError = dialog.CancelError;
        if (dialogAnswers.empty()) return std::nullopt;
        const QString answer = dialogAnswers.front();
        dialogAnswers.pop_front();
        if (answer.isEmpty()) return std::nullopt;
        return answer;
    }
    void MsgBox(const QString& text) override { messages.push_back(text); }
    SaveChoice AskSaveChanges(const QString& text) override {
        questions.push_back(text);
        if (saveAnswers.empty()) return SaveChoice::Cancel;
        const SaveChoice answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }
    void Beep() override { ++beeps; }
    // Settings in a folder of this host's own, never the user's: a second window on the same
    // host is the editor started again.
    QTemporaryDir settingsDir;
    QSettings settings{settingsDir.filePath("editor.conf"), QSettings::IniFormat};
    QSettings& Settings() override { return settings; }
    // Programs the editor started, with their arguments; run only with runPrograms set.
    std::vector<QStringList> started;
    bool runPrograms = false;
    bool StartProcess(QProcess& process, const QString& program,
                      const QStringList& arguments) override {
        started.push_back(QStringList{program} + arguments);
        return !runPrograms || EditorHost::StartProcess(process, program, arguments);
    }
};

// The cause a failed save names after the save message; empty when the message has none.
inline QString SaveCause(const QString& message) {
    const QString mark = QString::fromUtf8("\n\nPříčina: ");
    const qsizetype at = message.indexOf(mark);
    if (!message.startsWith(QString::fromLatin1(kSaveFailedText)) || at < 0) return {};
    return message.mid(at + mark.size());
}

class EditorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        form = std::make_unique<Form1>(&host, QString::fromStdString(zorvik::test::DistDir()));
        // Without the generated tile sheet the editor reports its stand-in; not under test here.
        host.messages.clear();
        ASSERT_TRUE(dir.isValid());
    }
    void TearDown() override {
        // Let the window close without its unsaved-changes question.
        host.saveAnswers.assign(4, SaveChoice::Discard);
        form.reset();
    }

    QString Path(const QString& name) const { return dir.filePath(name); }
    static QByteArray ReadAll(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return {};
        return file.readAll();
    }
    static void WriteAll(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    // Presses entry `entry` in the palette (scrolling it so the entry is visible).
    void Pick(int entry) {
        while (paletteTop + 5 < entry)
            form->Dolu_Click();
        while (paletteTop + 1 > entry)
            form->Nahoru_Click();
        form->Vyber_MouseDown(1, 0, 10, 74.0 * (entry - 1 - paletteTop) + 5);
        ASSERT_EQ(selectedEntry, entry);
    }
    // A left press in the middle of view cell (k, r), both counted from 1.
    void ClickCell(int k, int r, int button = 1) {
        form->Level_MouseDown(button, 0, 30.0 * (k - 1) + 15, 30.0 * (r - 1) + 15);
    }

    RecordingHost host;
    std::unique_ptr<Form1> form;
    QTemporaryDir dir;
};

// The middle of view cell (k, r) of the normal view, both counted from 1.
inline QPoint CellCentre(int k, int r) {
    return {30 * (k - 1) + 15, 30 * (r - 1) + 15};
}

// A fresh window that is active, so its keys and shortcuts work, driven with real events.
class ActiveEditorTest : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    // Presses palette slot `slot` (0..4) with the mouse.
    void PressSlot(int slot) {
        QTest::mouseClick(form->Vyber, Qt::LeftButton, {}, QPoint(30, 74 * slot + 20));
    }
};

}  // namespace zorvik::editor::test

namespace zorvik::editor::test {

// Pixels of view cell (k, r) (interior rows j0..j1) that differ from sheet cell p scaled
// nearest-neighbour onto the 29 x 29 interior.
inline int CellMismatches(const Form1& form, int k, int r, int p, int j0 = 0, int j1 = 28) {
    int mismatches = 0;
    for (int j = j0; j <= j1; ++j) {
        for (int i = 0; i < 29; ++i) {
            const QColor shown = form.Level->Pixel(30 * (k - 1) + 1 + i, 30 * (r - 1) + 1 + j);
            const QColor sheet =
                form.Hiden->Pixel(73 * (p % 10) + i * 73 / 29, 73 * (p / 10) + j * 73 / 29);
            if (shown != sheet) ++mismatches;
        }
    }
    return mismatches;
}

// Pixels of view cell (k, r)'s interior that are not black.
inline int NonBlackPixels(const Form1& form, int k, int r) {
    int count = 0;
    for (int j = 0; j < 29; ++j) {
        for (int i = 0; i < 29; ++i) {
            if (form.Level->Pixel(30 * (k - 1) + 1 + i, 30 * (r - 1) + 1 + j) !=
                QColor(Qt::black)) {
                ++count;
            }
        }
    }
    return count;
}

}  // namespace zorvik::editor::test
