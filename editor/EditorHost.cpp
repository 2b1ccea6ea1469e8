// SPDX-License-Identifier: GPL-3.0-or-later
// The common file dialog on top of the host, and the host's Qt implementation.
#include "EditorHost.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>

namespace zorvik::editor {

bool CommonDialog::ShowOpen() {
    return Show(false);
}
bool CommonDialog::ShowSave() {
    return Show(true);
}

bool CommonDialog::Show(bool save) {
    const std::optional<QString> chosen = host_->ChooseFile(save, *this);
    if (!chosen || chosen->isEmpty()) return false;
    FileName = *chosen;
    return true;
}

QString CommonDialog::QtFilter() const {
    const QStringList parts = Filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        filters << parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

bool EditorHost::StartProcess(QProcess& process, const QString& program,
                              const QStringList& arguments) {
    // The game's lines go where the editor's go, so a full pipe never stops it; a process set
    // to merge its channels is read by the editor (the prover).
    if (process.processChannelMode() != QProcess::MergedChannels)
        process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, arguments);
    return process.waitForStarted();
}

std::optional<QString> QtEditorHost::ChooseFile(bool save, const CommonDialog& dialog) {
    const QString path =
        save ? QFileDialog::getSaveFileName(window_, QString(), dialog.InitDir, dialog.QtFilter())
             : QFileDialog::getOpenFileName(window_, QString(), dialog.InitDir, dialog.QtFilter());
    if (path.isEmpty()) return std::nullopt;
    return path;
}

void QtEditorHost::MsgBox(const QString& text) {
    QMessageBox::information(window_, QApplication::applicationName(), text, QMessageBox::Ok);
}

SaveChoice QtEditorHost::AskSaveChanges(const QString& text) {
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(), text,
                    QMessageBox::NoButton, window_);
    QPushButton* save = box.addButton(QString::fromUtf8("Uložit"), QMessageBox::AcceptRole);
    QPushButton* discard =
        box.addButton(QString::fromUtf8("Zahodit"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QString::fromUtf8("Zrušit"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) return SaveChoice::Save;
    if (box.clickedButton() == discard) return SaveChoice::Discard;
    return SaveChoice::Cancel;
}

void QtEditorHost::Beep() {
    QApplication::beep();
}

}  // namespace zorvik::editor
