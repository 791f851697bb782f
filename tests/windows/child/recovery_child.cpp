// The program as the crash test runs it in a child process: the program's
// own start-up (RunningProgram) with scripted answers, its recovery folder
// in $XDG_STATE_HOME as the test sets it.
//
//   recovery_child crash FILE EXPECTED  reads FILE, makes changes as a teacher
//                                       would, writes the document's saved
//                                       lines to EXPECTED, prints "ready" and
//                                       runs until it is killed
//   recovery_child restore SAVED        answers 復元, prints what it restored,
//                                       saves to SAVED and quits cleanly
//   recovery_child fresh                prints how many questions it was asked
//                                       and quits cleanly
#include "control/recovery_store.h"
#include "control/scripted_questions.h"
#include "model/equation_file.h"
#include "platform/text_file.h"
#include "windows/running_program.h"
#include <QApplication>
#include <QTimer>
#include <QWheelEvent>
#include <cstdio>

using namespace gq;

namespace
{
void report(const QString &line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

// One notch of the wheel over the graph's centre.
void wheelNotch(MainWindow &graph)
{
    QWidget *picture = graph.findChild<QWidget *>(QStringLiteral("graphpaint"));
    const QPointF centre(picture->width() / 2.0, picture->height() / 2.0);
    QWheelEvent e(centre, picture->mapToGlobal(centre), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(picture, &e);
}

void teach(RunningProgram &program, ScriptedQuestions &ask, const QString &expected)
{
    MainWindow &graph = program.graph();
    ask.keyboardAnswers = {"F1(x)+b"};
    graph.registerAdditional(KindExplicit);
    wheelNotch(graph);
    graph.doc().parameters['b'] = 1.5f; // as the parameter window's steps do
    graph.recordStep(QStringLiteral("ﾊﾟﾗﾒﾀ変更"));
    graph.doc().showGrid = 1; // as the range dialog's check box does
    graph.recordStep(QStringLiteral("格子表示"));
    ask.keyboardAnswers = {"x^3"};
    graph.registerAdditional(KindExplicit);
    graph.undoStep(); // the last change of all: an undo

    std::vector<std::string> lines;
    QString error;
    if (!equationFileLines(graph.doc(), lines, error) || !saveTextLines(expected, lines).isEmpty())
        report(QStringLiteral("cannot write %1").arg(expected));
    report(QStringLiteral("ready"));
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const QString role = args.value(1);

    ScriptedQuestions ask;
    ask.restoreAnswers = {RestoreAnswer::Restore};
    RunningProgram program(defaultRecoveryFolder(), &ask);
    MainWindow &graph = program.graph();

    program.start(role == QStringLiteral("crash") ? args.value(2) : QString());
    // After start-up's own work (queued first).
    QTimer::singleShot(0, &graph, [&] {
        if (role == QStringLiteral("crash")) {
            teach(program, ask, args.value(3));
            return; // runs on until killed
        }
        GraphController &c = graph.controller();
        report(QStringLiteral("questions=%1 modified=%2 grid=%3 path=%4")
                   .arg(ask.restoreQuestions)
                   .arg(c.isModified() ? 1 : 0)
                   .arg(graph.doc().showGrid)
                   .arg(c.documentPath()));
        if (role == QStringLiteral("restore")) {
            // 登録した式の保存, its dialog answered with SAVED.
            const QString saved = args.value(2);
            graph.setFileNames({[saved] { return saved; }, {}}, {});
            graph.saveDocument();
        }
        graph.close();
    });
    return app.exec();
}
