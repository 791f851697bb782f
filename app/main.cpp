// Start-up: creates the windows and runs the event loop until the main window
// closes.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow graph;
    graph.setWindowTitle(QStringLiteral("graphoTheque 3.22"));
    graph.showMaximized();
    return app.exec();
}
