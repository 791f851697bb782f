// Test doubles for the document's flows: scripted answers to the modal
// questions and a list surface that records what is written where.
#pragma once

#include "control/item_list_panel.h"
#include "control/questions.h"
#include <QStringList>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace gq
{

class ScriptedQuestions : public Questions
{
  public:
    std::deque<std::string> keyboardAnswers;          // "" = cancelled; none left = cancelled
    std::deque<uint32_t> colourAnswers;               // none left = the first offered colour
    std::deque<bool> confirmAnswers;                  // none left = cancel
    std::deque<SaveChangesAnswer> saveChangesAnswers; // none left = cancel
    int saveChangesQuestions = 0;
    std::deque<RestoreAnswer> restoreAnswers; // none left = keep
    int restoreQuestions = 0;
    std::vector<KeyboardRequest> keyboardRequests;
    std::vector<int> confirmKinds;
    std::vector<QString> messages;
    int colourPanelOpenings = 0;

    std::string askKeyboard(const KeyboardRequest &request) override
    {
        keyboardRequests.push_back(request);
        if (keyboardAnswers.empty())
            return {};
        std::string answer = keyboardAnswers.front();
        keyboardAnswers.pop_front();
        return answer;
    }
    std::function<void()> onColour; // runs while the colour panel is shown
    uint32_t chooseColour(ColourPanelState &panel) override
    {
        ++colourPanelOpenings;
        if (onColour)
            onColour();
        uint32_t colour = kNoColourChosen;
        if (!colourAnswers.empty()) {
            colour = colourAnswers.front();
            colourAnswers.pop_front();
        } else {
            for (uint32_t c : kItemColours)
                if (panel.isOffered(c)) {
                    colour = c;
                    break;
                }
        }
        panel.take(colour);
        return colour;
    }
    bool confirm(int warningKind) override
    {
        confirmKinds.push_back(warningKind);
        if (confirmAnswers.empty())
            return false;
        bool answer = confirmAnswers.front();
        confirmAnswers.pop_front();
        return answer;
    }
    std::function<void(const QString &)> onMessage; // runs while the message is shown
    void showMessage(const QString &text) override
    {
        messages.push_back(text);
        if (onMessage)
            onMessage(text);
    }
    SaveChangesAnswer askSaveChanges() override
    {
        ++saveChangesQuestions;
        if (saveChangesAnswers.empty())
            return SaveChangesAnswer::Cancel;
        SaveChangesAnswer answer = saveChangesAnswers.front();
        saveChangesAnswers.pop_front();
        return answer;
    }
    RestoreAnswer askRestore() override
    {
        ++restoreQuestions;
        if (restoreAnswers.empty())
            return RestoreAnswer::Keep;
        RestoreAnswer answer = restoreAnswers.front();
        restoreAnswers.pop_front();
        return answer;
    }
};

// Every character is 10 pixels wide.
class RecordingSurface : public ListSurface
{
  public:
    struct Text {
        int x, y;
        QString text;
        uint32_t colour;
    };
    int panelWidth = 300;
    std::vector<Text> texts;
    std::vector<int> lineYs;
    int clears = 0;
    uint32_t colour = 0;

    int width() const override { return panelWidth; }
    void clear() override
    {
        ++clears;
        texts.clear();
        lineYs.clear();
    }
    void setTextColour(uint32_t c) override { colour = c; }
    void drawText(int x, int y, const QString &text) override { texts.push_back({x, y, text, colour}); }
    int textWidth(const QString &text) const override { return 10 * static_cast<int>(text.size()); }
    void drawLine(int, int y0, int, int) override { lineYs.push_back(y0); }
    void listDrawn(int bottom) override { listBottom = bottom; }
    void entryAppended(int top, int bottom) override { appended.push_back({top, bottom}); }
    int listBottom = -1;                       // where the last whole list ended
    std::vector<std::pair<int, int>> appended; // entries drawn after the list

    QStringList lines() const
    {
        QStringList out;
        for (const Text &t : texts)
            out << QStringLiteral("%1,%2:%3").arg(t.x).arg(t.y).arg(t.text);
        return out;
    }
};

} // namespace gq
