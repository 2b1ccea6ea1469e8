// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's seams to the desktop: the file dialog, message boxes and the system beep.
// The window uses them only through EditorHost, so tests can choose paths, cancel dialogs,
// answer questions and read every message shown.
#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <optional>

class QProcess;
class QWidget;

namespace zorvik::editor {

class EditorHost;

// The common file dialog as the editor prepares it: CancelError, InitDir, Filter in the
// "description|pattern" form, and FileName holding the chosen path after a successful show.
class CommonDialog {
  public:
    explicit CommonDialog(EditorHost* host) : host_(host) {}

    bool CancelError = false;
    QString InitDir;
    QString Filter;
    QString FileName;

    // Show the dialog; true with FileName set when a file was chosen. A cancelled dialog
    // returns false (with CancelError set the editor treats that as a failure).
    bool ShowOpen();
    bool ShowSave();

    // The filter in Qt's form: "Zorvik MAP file|*.map" -> "Zorvik MAP file (*.map)".
    QString QtFilter() const;

  private:
    bool Show(bool save);
    EditorHost* host_;
};

// The answers to the question asked before unsaved changes would be lost.
enum class SaveChoice { Save, Discard, Cancel };

class EditorHost {
  public:
    virtual ~EditorHost() = default;
    // The path the user picked, or nothing when the dialog was cancelled.
    virtual std::optional<QString> ChooseFile(bool save, const CommonDialog& dialog) = 0;
    // A message box with an OK button.
    virtual void MsgBox(const QString& text) = 0;
    // A question with the buttons "Uložit", "Zahodit" and "Zrušit" (also Escape).
    virtual SaveChoice AskSaveChanges(const QString& text) = 0;
    // The system's default beep.
    virtual void Beep() = 0;
    // Where the editor keeps what it remembers across runs (recent files, last folder).
    virtual QSettings& Settings() = 0;
    // Starts a program beside the editor in `process`, not waiting for it to end; false when
    // it could not start. Its output goes to the editor's own.
    virtual bool StartProcess(QProcess& process, const QString& program,
                              const QStringList& arguments);
};

// The desktop implementation: Qt file dialogs and message boxes over the given window.
class QtEditorHost : public EditorHost {
  public:
    explicit QtEditorHost(QWidget* window) : window_(window) {}
    std::optional<QString> ChooseFile(bool save, const CommonDialog& dialog) override;
    void MsgBox(const QString& text) override;
    SaveChoice AskSaveChanges(const QString& text) override;
    void Beep() override;
    // The user's settings file: ~/.config/zorvik/editor.conf (XDG_CONFIG_HOME).
    QSettings& Settings() override { return settings_; }

  private:
    QWidget* window_;
    QSettings settings_{QSettings::IniFormat, QSettings::UserScope, QStringLiteral("zorvik"),
                        QStringLiteral("editor")};
};

}  // namespace zorvik::editor
