// The level editor's entry point: the command line, then one window on the Qt event loop.
#include <QApplication>
#include <QFileInfo>
#include <cstdio>
#include <cstring>

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

    QApplication app(argc, argv);
    zorvik::editor::InstallQtCzech(app);
    // Qt has taken its own options (-platform, -style ...); what is left is ours.
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    QString mapPath;
    bool optionsEnd = false;
    for (const QString& argument : arguments) {
        if (!optionsEnd && argument == QStringLiteral("--")) {
            optionsEnd = true;
        } else if (!optionsEnd && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            std::fprintf(stderr, "%s: neznama volba '%s' (napoveda: --help)\n", name,
                         argument.toLocal8Bit().constData());
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
    if (!mapPath.isEmpty() && !window.OpenMapSet(QFileInfo(mapPath).absoluteFilePath())) {
        window.Host().MsgBox(QString::fromLatin1(zorvik::editor::kOpenFailedText));
    }
    return QApplication::exec();
}
