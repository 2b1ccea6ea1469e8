// SPDX-License-Identifier: GPL-3.0-or-later
// The level editor's entry point: the command line, then one window on the Qt event loop.
#include <unistd.h>

#include <QApplication>
#include <QByteArray>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "EditorDesktop.h"
#include "Form1.h"
#include "QtCzech.h"

namespace {

#ifndef ZORVIK_VERSION
#define ZORVIK_VERSION "1.0"
#endif

const char* ProgramName(const char* argv0) {
    const char* slash = std::strrchr(argv0, '/');
    return slash != nullptr ? slash + 1 : argv0;
}

void PrintUsage(const char* name) {
    std::printf(
        "Pouziti: %s [MAPA]\n"
        "Editor levelu hry Zorvik. MAPA je soubor dlazdic sady map (MAPA, MAPA.1, MAPA.2),\n"
        "ktera se otevre.\n"
        "\n"
        "  -h, --help     vypise tuto napovedu a skonci\n"
        "  --version      vypise verzi a skonci\n",
        name);
}

// A path given on the command line, made absolute against the current folder.
QByteArray AbsolutePath(const QByteArray& path) {
    if (path.startsWith('/')) return path;
    std::vector<char> folder(4096);
    while (::getcwd(folder.data(), folder.size()) == nullptr) {
        if (errno != ERANGE) return path;
        folder.resize(folder.size() * 2);
    }
    return QByteArray(folder.data()) + '/' + path;
}

// While the application object is made, Qt's messages are held back: when no window system can
// be reached, Qt writes several lines and aborts. The editor says instead in one line that it
// found no display, and ends with status 1. A platform chosen on purpose (QT_QPA_PLATFORM, e.g.
// offscreen) that starts is used as it is.
const char* startingProgram = "zorvik-editor";
std::vector<QString> heldMessages;

void HoldStartUpMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr,
                     "%s: nenalezen zadny displej (zkontrolujte DISPLAY nebo WAYLAND_DISPLAY)\n",
                     startingProgram);
        std::_Exit(1);
    }
    heldMessages.push_back(qFormatLogMessage(type, context, text));
}

// Holds Qt's messages back from its creation until Release.
class StartUpMessages {
  public:
    explicit StartUpMessages(const char* name) {
        startingProgram = name;
        previous_ = qInstallMessageHandler(HoldStartUpMessage);
    }
    ~StartUpMessages() { Release(); }
    StartUpMessages(const StartUpMessages&) = delete;
    StartUpMessages& operator=(const StartUpMessages&) = delete;
    // Qt has started: its held messages are written out, later ones go their usual way.
    void Release() {
        if (released_) return;
        released_ = true;
        qInstallMessageHandler(previous_);
        for (const QString& message : heldMessages)
            std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        heldMessages.clear();
    }

  private:
    QtMessageHandler previous_ = nullptr;
    bool released_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
    const char* name = argc > 0 ? ProgramName(argv[0]) : "zorvik-editor";
    // Help and version need no display, so they are answered before Qt starts.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) break;
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            PrintUsage(name);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s %s\n", name, ZORVIK_VERSION);
            return 0;
        }
    }

    StartUpMessages startUp(name);
    QApplication app(argc, argv);
    startUp.Release();
    zorvik::editor::InstallQtCzech(app);
    zorvik::editor::IntroduceToTheDesktop();
    // Qt has taken its own options (-platform, -style ...) out of argv; what is left is ours,
    // read as the system's bytes, since a file name need not be valid UTF-8.
    QByteArray mapPath;
    bool optionsEnd = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (!optionsEnd && argument == "--") {
            optionsEnd = true;
        } else if (!optionsEnd && argument.startsWith('-') && argument.size() > 1) {
            std::fprintf(stderr, "%s: neznama volba '%s' (napoveda: --help)\n", name,
                         argument.constData());
            return 2;
        } else if (!mapPath.isEmpty()) {
            std::fprintf(stderr, "%s: lze otevrit jen jednu mapu (napoveda: --help)\n", name);
            return 2;
        } else {
            mapPath = argument;
        }
    }

    zorvik::editor::Form1 window;
    window.show();
    if (!mapPath.isEmpty() && !window.OpenMapSet(AbsolutePath(mapPath))) {
        window.Host().MsgBox(QString::fromLatin1(zorvik::editor::kOpenFailedText));
    }
    return QApplication::exec();
}
