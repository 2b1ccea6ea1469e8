// SPDX-License-Identifier: GPL-3.0-or-later
// One QApplication for the whole editor test run, on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace {

// The offscreen platform warns about what it cannot do for windows and menus (size hints,
// raising, grabbing the keyboard); nothing to see.
QtMessageHandler defaultHandler = nullptr;
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    for (const char* note : {"propagateSizeHints", "does not support raise()",
                             "does not support grabbing the keyboard"}) {
        if (text.contains(QLatin1String(note))) return;
    }
    if (defaultHandler != nullptr) defaultHandler(type, context, text);
}

class QtEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        defaultHandler = qInstallMessageHandler(QuietHandler);
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

  private:
    static inline int argc_ = 1;
    static inline char name_[] = "editor_tests";
    static inline char* argv_[] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

const auto* const kQtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
