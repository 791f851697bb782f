// The rig of the tests of the main window's commands: a controller over a
// fresh document, with scripted answers to its questions, a list panel that
// records what it draws and a folder for files.
#pragma once

#include "control/graph_controller.h"
#include "control/scripted_questions.h"
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <initializer_list>

namespace gq
{

class ControllerTest : public ::testing::Test
{
  protected:
    ControllerTest() : controller(doc, surface)
    {
        controller.setQuestions(&ask);
        controller.resetDocument();
    }
    // Registers an item of the kind, typing the answers on the keyboard; the
    // first item is a new registration, the others are added.
    void registerItem(ItemKind kind, std::initializer_list<const char *> answers)
    {
        ask.keyboardAnswers.insert(ask.keyboardAnswers.end(), answers.begin(), answers.end());
        doc.itemCount == 0 ? controller.newRegistration(kind) : controller.addRegistration(kind);
    }

    // A file of that name in a folder of the test's own.
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    Document doc;
    RecordingSurface surface;
    ScriptedQuestions ask;
    GraphController controller;
};

} // namespace gq
