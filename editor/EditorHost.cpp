// The common file dialog on top of the host, and the host's Qt implementation.
#include "EditorHost.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>

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

bool EditorHost::StartDetached(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
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

bool QtEditorHost::AskYesNo(const QString& text) {
    return QMessageBox::question(window_, QApplication::applicationName(), text,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void QtEditorHost::Beep() {
    QApplication::beep();
}

}  // namespace zorvik::editor
