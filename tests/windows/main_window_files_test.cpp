// The main window's file commands as a teacher meets them: unsaved work on
// quitting and reading, the picture after a read, a file from the command
// line, and saving the graph as a picture.
#include "control/scripted_questions.h"
#include "model/equation_file.h"
#include "platform/text_file.h"
#include "windows/main_window.h"
#include "windows/recording_windows.h"
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace gq
{

namespace
{
constexpr uint32_t kRed = 255, kBlue = 16711680;

class MainWindowFiles : public ::testing::Test
{
  protected:
    MainWindowFiles()
    {
        g.setQuestions(&ask);
        g.setSecondaryWindows(&windows);
        g.setFileNames({[this] {
                            ++saveDialogs;
                            return saveAs;
                        },
                        [this] {
                            ++openDialogs;
                            return openPath;
                        }},
                       [this] { return graphChoice; });
    }
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    // A file of one explicit function in the colour.
    QString writeFile(const char *name, const std::string &formula, uint32_t colour)
    {
        Document doc;
        doc.itemCount = 1;
        doc.items[1] = {.kind = KindExplicit, .text = {"", formula}, .colour = colour};
        std::vector<std::string> lines;
        QString error;
        EXPECT_TRUE(equationFileLines(doc, lines, error));
        EXPECT_TRUE(saveTextLines(path(name), lines).isEmpty());
        return path(name);
    }
    void registerItem(const char *formula, uint32_t colour)
    {
        ask.confirmAnswers = {true};
        ask.keyboardAnswers = {formula};
        ask.colourAnswers = {colour};
        g.registerNew(KindExplicit);
    }
    // Some pixel within two of the world point (x, y) has the colour.
    bool drawnAt(long double x, long double y, uint32_t colour)
    {
        const GraphView &view = g.renderer().view();
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (g.visibleGraph().pixel(view.xToPixel(x) + dx, view.yToPixel(y) + dy) == colour)
                    return true;
        return false;
    }
    bool closeBox()
    {
        QCloseEvent close;
        QApplication::sendEvent(&g, &close);
        return close.isAccepted();
    }

    QTemporaryDir dir;
    ScriptedQuestions ask;
    RecordingWindows windows;
    MainWindow g;
    QString saveAs, openPath;
    GraphFileChoice graphChoice;
    int saveDialogs = 0, openDialogs = 0;
};
} // namespace

// What each answer does is the unsaved-changes tests'; here that the menu
// command and the close box both ask, and that the window stays or goes.
TEST_F(MainWindowFiles, QuittingWithUnsavedWorkAsksFromTheMenuAndTheCloseBox)
{
    EXPECT_TRUE(closeBox()) << "nothing to lose, nothing asked";
    EXPECT_EQ(ask.saveChangesQuestions, 0);

    registerItem("x^2", kRed);
    g.show();
    ask.saveChangesAnswers = {SaveChangesAnswer::Cancel};
    g.menuAction(QStringLiteral("mnuExit"))->trigger();
    EXPECT_EQ(ask.saveChangesQuestions, 1);
    EXPECT_TRUE(g.isVisible());
    EXPECT_EQ(g.doc().itemCount, 1);
    EXPECT_EQ(saveDialogs, 0);

    // The close box asks the same.
    ask.saveChangesAnswers = {SaveChangesAnswer::Cancel};
    EXPECT_FALSE(closeBox());
    EXPECT_EQ(ask.saveChangesQuestions, 2);
    ask.saveChangesAnswers = {SaveChangesAnswer::DontSave};
    EXPECT_TRUE(closeBox());

    // 保存 writes the file, then the window closes.
    g.show();
    saveAs = path("work.gtq");
    ask.saveChangesAnswers = {SaveChangesAnswer::Save};
    g.menuAction(QStringLiteral("mnuExit"))->trigger();
    EXPECT_FALSE(g.isVisible());
    EXPECT_TRUE(QFile::exists(saveAs));
}

// The picture after a read is the lesson tests'; here, a document with
// parameters hands its drawing to the parameter window.
TEST_F(MainWindowFiles, ADocumentWithParametersOpensTheParameterWindow)
{
    registerItem("1", kBlue);
    openPath = writeFile("a.gtq", "a*x", kBlue);
    ask.saveChangesAnswers = {SaveChangesAnswer::DontSave};
    g.openDocument();
    EXPECT_EQ(openDialogs, 1);
    EXPECT_EQ(windows.opened, std::vector<std::string>{"parameters after load"});
}

TEST_F(MainWindowFiles, TheMessageAboutUnparsableFormulasComesOverTheNewPicture)
{
    // Line 17 holds item 1's formula; item 2 is the sound one.
    Document doc;
    doc.itemCount = 2;
    doc.items[1] = {.kind = KindExplicit, .text = {"", "x^^2"}, .colour = kBlue};
    doc.items[2] = {.kind = KindExplicit, .text = {"", "2"}, .colour = kRed};
    std::vector<std::string> lines;
    QString error;
    ASSERT_TRUE(equationFileLines(doc, lines, error));
    ASSERT_TRUE(saveTextLines(path("bad.gtq"), lines).isEmpty());
    bool drawnWhenShown = false;
    ask.onMessage = [&](const QString &) { drawnWhenShown = drawnAt(2, 2, kRed); };
    g.openAtStart(path("bad.gtq"));
    EXPECT_EQ(ask.messages, std::vector<QString>{QStringLiteral("17行目: 式が正しくありません")});
    EXPECT_TRUE(drawnWhenShown);
}

TEST_F(MainWindowFiles, AFileFromTheCommandLineIsReadAndDrawn)
{
    g.openAtStart(writeFile("start.gtq", "2", kRed));
    EXPECT_EQ(g.doc().itemCount, 1);
    EXPECT_TRUE(drawnAt(-3, 2, kRed));
    EXPECT_TRUE(g.menuAction(QStringLiteral("gshow"))->isVisible());
    EXPECT_TRUE(ask.messages.empty());
}

// Formats, extensions and colours are the graph-export tests'; here that the
// picture shown is what is written, and that a failure is told.
TEST_F(MainWindowFiles, TheGraphShownIsSavedAndAFailureIsTold)
{
    registerItem("1", kRed);
    g.showStandard();
    const QImage shown = g.visibleGraph().image();
    const QRgb red = shown.pixel(g.renderer().view().xToPixel(2), g.renderer().view().yToPixel(1));

    graphChoice = {path("graph"), 1}; // PNG, no extension typed
    g.saveGraphImage();
    QImage png;
    ASSERT_TRUE(png.load(path("graph.png"), "PNG"));
    EXPECT_EQ(png.size(), shown.size());
    EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32), shown.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(qRed(red), 255);

    graphChoice = {}; // cancelled
    g.saveGraphImage();
    graphChoice = {path("no/such/folder/g.png"), 1};
    g.saveGraphImage();
    EXPECT_EQ(ask.messages.size(), 1u);
}

} // namespace gq
