// Start-up: creates the main window and then the other windows once, in their
// fixed order, and runs the event loop until the main window closes.
//
//   graphotheque [FILE.gtq]
//
// Once the window is shown, the work a crashed run left behind is offered,
// and then a file named on the command line is read.
#include "control/recovery_store.h"
#include "windows/running_program.h"
#include <QApplication>
#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>

using namespace gq;

namespace
{
// The toolkit's own texts (file dialogs, message box buttons) in Japanese,
// like the rest of the program, when the translations are installed.
void useJapaneseToolkitTexts(QApplication &app, QTranslator &translator)
{
    if (translator.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&translator);
}
// The equation file named on the command line (the toolkit's own options are
// already taken out), or "".
QString fileToOpen(const QStringList &args)
{
    for (qsizetype i = 1; i < args.size(); ++i)
        if (!args[i].startsWith(QLatin1Char('-')))
            return args[i];
    return {};
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // The main window alone decides when the program ends (a modeless tool
    // window left open must not keep it running, nor end it).
    app.setQuitOnLastWindowClosed(false);
    useProgramFont(app);
    QTranslator toolkitTexts;
    useJapaneseToolkitTexts(app, toolkitTexts);

    RunningProgram program(defaultRecoveryFolder());
    program.start(fileToOpen(QApplication::arguments()));
    return app.exec();
}
