// Start-up: creates the main window and then the other windows once, in their
// fixed order, and runs the event loop until the main window closes.
#include "windows/main_window.h"
#include "windows/program_windows.h"
#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTranslator>

using namespace gq;

namespace
{
// Japanese captions need a face that has the glyphs.
void useJapaneseFont(QApplication &app)
{
    for (const QString &family : {QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic")})
        if (QFontDatabase::families().contains(family)) {
            QFont font(family);
            font.setPointSize(10);
            app.setFont(font);
            return;
        }
}
// The toolkit's own texts (file dialogs, message box buttons) in Japanese,
// like the rest of the program, when the translations are installed.
void useJapaneseToolkitTexts(QApplication &app, QTranslator &translator)
{
    if (translator.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&translator);
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // The main window alone decides when the program ends (a modeless tool
    // window left open must not keep it running, nor end it).
    app.setQuitOnLastWindowClosed(false);
    useJapaneseFont(app);
    QTranslator toolkitTexts;
    useJapaneseToolkitTexts(app, toolkitTexts);

    MainWindow graph;
    ProgramWindows windows(graph);
    graph.show();
    return app.exec();
}
