// Start-up: creates the twelve windows once, in their fixed order, links them
// to the main window and runs the event loop until the main window closes.
#include "windows/colour_panel.h"
#include "windows/correction_window.h"
#include "windows/definition_links.h"
#include "windows/dialog_questions.h"
#include "windows/keyboard.h"
#include "windows/main_window.h"
#include "windows/shell_windows.h"
#include "windows/version_box.h"
#include "windows/warning_dialog.h"
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
// Questions answered by dialogs that exist only later in the start-up order.
struct LateQuestions : Questions {
    Questions *target = nullptr;
    std::string askKeyboard(const KeyboardRequest &r) override { return target->askKeyboard(r); }
    uint32_t chooseColour(ColourPanelState &p) override { return target->chooseColour(p); }
    bool confirm(int kind) override { return target->confirm(kind); }
    void showMessage(const QString &text) override { target->showMessage(text); }
};
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
    VersionBox aboutBox(&graph);
    FormulaKeyboard keyfunc(&graph);
    RangeDialog hanichange(&graph);
    ParameterWindow paraChange(&graph);
    ColourPanel clpanel(&graph);
    MeanRateWindow pointMove(&graph);
    TangentWindow tangent(&graph);
    IntervalDialog interval(&graph);
    RiemannSumWindow integration(&graph);
    // The correction window is created before the confirmation dialog its
    // questions need; they are bound in before either can be opened.
    LateQuestions late;
    DefinitionContext definitions{graph.doc(), graph.controller().colours(), late,
                                  [&graph] { graph.redrawItemList(); }};
    CorrectionWindow correctform(definitions, &graph);
    ConfirmDialog warning(&graph);

    DialogQuestions questions(keyfunc, clpanel, warning, &graph);
    late.target = &questions;
    graph.setQuestions(&questions);

    WindowLinks &links = graph.links();
    links.versionBox = &aboutBox;
    links.openRangeChange = [&] { hanichange.exec(); };
    links.openParameterWindow = [&](bool) { paraChange.exec(); };
    links.openMeanRate = [&] {
        pointMove.setWindowTitle(QStringLiteral("平均変化率の意味"));
        pointMove.exec();
    };
    links.openTangent = [&] {
        tangent.setWindowTitle(QStringLiteral("接線の傾きの変化"));
        tangent.exec();
    };
    links.openIntegration = [&] { integration.exec(); };
    links.showIntervalWindow = [&] {
        interval.show();
        interval.raise();
    };

    linkDefinitionWindows(links, correctform, definitions, [&graph] { graph.redrawGraph(); });

    graph.show();
    return app.exec();
}
