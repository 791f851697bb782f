// Registration of items through the main window's commands, with scripted
// keyboard, colour and confirmation answers.
#include "control/graph_controller.h"
#include "control/scripted_questions.h"
#include "engine/formula.h"
#include <gtest/gtest.h>
#include <vector>

namespace gq
{

namespace
{
// Also records what the list panel showed while the colour was chosen.
struct PeekingQuestions : ScriptedQuestions {
    const RecordingSurface *surface = nullptr;
    QStringList seen;
    uint32_t chooseColour(ColourPanelState &panel) override
    {
        seen = surface->lines();
        return ScriptedQuestions::chooseColour(panel);
    }
};

struct Rig {
    Rig() : controller(doc, surface)
    {
        ask.surface = &surface;
        controller.setQuestions(&ask);
        controller.resetDocument();
    }
    void answer(std::initializer_list<const char *> answers)
    {
        for (const char *a : answers)
            ask.keyboardAnswers.push_back(a);
    }
    Document doc;
    RecordingSurface surface;
    PeekingQuestions ask;
    GraphController controller;
};
class Registration : public ::testing::Test, protected Rig
{
};

constexpr uint32_t kRed = 255, kBlue = 16711680;
const char *const kParametricCaptions =
    "媒介変数の　ｘ＝ｆ(ｔ)　の入力|媒介変数の　y＝ｇ(ｔ)　の入力|媒介変数の下限|変数ｔの上限";
} // namespace

TEST(RegistrationKinds, EachKindAsksItsFormulasAndStoresThemUnlessAStepIsCancelled)
{
    // Lists are joined by '|'; texts "" = the answers, nullptr = cancelled.
    // Keys: x = x/y/z, s = sgn/gaus (not checked for coordinates: they
    // follow the previous registration), t = t and the sum index i.
    struct Case {
        uint8_t kind;
        const char *answers, *texts, *captions, *layouts, *keys;
    } cases[] = {
        {KindExplicit, "x^2-2", "", "陽関数 y=f(x) : f(x)の入力", "1", "xst"},
        {KindImplicit, "x^2+y^2-4", "", "陰関数 f(x,y)=0 : f(x,y)の入力", "1", "xt"},
        {KindParametric, "cos(t)|sin(t)|-1|2\x83\xCE", "", kParametricCaptions, "1100", "t"},
        // An empty lower bound of t becomes "0".
        {KindParametric, "cos(t)|sin(t)||3", "cos(t)|sin(t)|0|3", kParametricCaptions, "1100", "t"},
        // A polar curve stores its formula twice.
        {KindPolar, "1+cos(t)||2\x83\xCE", "1+cos(t)|1+cos(t)|0|2\x83\xCE",
         "極方程式　ｒ＝ｆ(ｔ)　の入力|変数ｔの下限|変数ｔの上限", "100", "t"},
        {KindPoint, "1|a", "", "点 P(p,q): のｘ座標の入力|点 P(p,q): のy座標の入力", "11", ""},
        {KindSegment, "0|0|1|2", "",
         "点 P(p,q): のｘ座標の入力|点 P(p,q): のy座標の入力|"
         "点 Q(p,q): のｘ座標の入力|点 Q(p,q): のy座標の入力",
         "1111", ""},
        // A cancelled step stops the sequence at once; so does an empty upper bound.
        {KindExplicit, "", nullptr, "陽関数 y=f(x) : f(x)の入力", "1", "xst"},
        {KindParametric, "", nullptr, "媒介変数の　ｘ＝ｆ(ｔ)　の入力", "1", "t"},
        {KindParametric, "cos(t)|sin(t)|-1|", nullptr, kParametricCaptions, "1100", "t"},
        {KindPolar, "t|1|", nullptr, "極方程式　ｒ＝ｆ(ｔ)　の入力|変数ｔの下限|変数ｔの上限", "100", "t"},
        {KindSegment, "1|", nullptr, "点 P(p,q): のｘ座標の入力|点 P(p,q): のy座標の入力", "11", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << int(c.kind) << ": " << c.answers);
        Rig r;
        for (const QByteArray &a : QByteArray(c.answers).split('|'))
            r.ask.keyboardAnswers.push_back(a.toStdString());
        r.ask.colourAnswers.push_back(kRed);
        r.controller.newRegistration(static_cast<ItemKind>(c.kind));
        const QStringList captions = QString::fromUtf8(c.captions).split(u'|');

        ASSERT_EQ(r.ask.keyboardRequests.size(), size_t(captions.size()));
        const std::string keys = c.keys;
        for (int k = 0; k < captions.size(); ++k) {
            const KeyboardRequest &q = r.ask.keyboardRequests[k];
            EXPECT_EQ(q.caption, captions[k]) << k;
            EXPECT_EQ(q.layout, c.layouts[k] - '0') << k;
            EXPECT_TRUE(q.initialText.empty()) << k;
            EXPECT_EQ(q.keysXYZ, keys.find('x') != keys.npos) << k;
            const bool coordinates = c.kind == KindPoint || c.kind == KindSegment;
            EXPECT_TRUE(coordinates || q.keysSgnGaus == (keys.find('s') != keys.npos)) << k;
            EXPECT_EQ(q.keyT, keys.find('t') != keys.npos) << k;
            EXPECT_EQ(q.keyI, keys.find('t') != keys.npos) << k;
        }
        if (!c.texts) {
            EXPECT_EQ(r.doc.itemCount, 0);
            EXPECT_EQ(r.ask.colourPanelOpenings, 0);
            EXPECT_FALSE(r.controller.menus().addMenu);
            continue;
        }
        ASSERT_EQ(r.doc.itemCount, 1);
        const Item &item = r.doc.items[1];
        EXPECT_EQ(item.kind, c.kind);
        const QList<QByteArray> texts = QByteArray(*c.texts ? c.texts : c.answers).split('|');
        for (int k = 0; k < texts.size(); ++k)
            EXPECT_EQ(item.text[k + 1], texts[k].toStdString()) << "text " << k + 1;
        EXPECT_EQ(item.asymptote, c.kind == KindExplicit ? 1 : 0);
        EXPECT_EQ(item.colour, kRed);
        EXPECT_FALSE(r.controller.colours().isOffered(kRed));
        EXPECT_TRUE(r.ask.confirmKinds.empty()) << "an empty list needs no confirmation";

        // The new entry is on the list while its colour is chosen.
        EXPECT_EQ(r.ask.seen, r.surface.lines());
        r.controller.addRegistration(KindDerivative);
        EXPECT_EQ(r.doc.itemCount, c.kind == KindExplicit ? 2 : 1)
            << "only a lone explicit function is derived";
    }
}

TEST_F(Registration, KeysOfAFormulaFollowThePreviousRegistrationAndTheDefinitions)
{
    doc.functionCount = 2;
    doc.constantCount = 1;
    answer({"x*y-1", "1", "2", "x", "1", "2"});
    controller.newRegistration(KindImplicit);
    controller.addRegistration(KindPoint);
    controller.addRegistration(KindExplicit);
    controller.addRegistration(KindPoint);
    ASSERT_EQ(ask.keyboardRequests.size(), 6u);
    EXPECT_FALSE(ask.keyboardRequests[1].keysSgnGaus);
    EXPECT_TRUE(ask.keyboardRequests[3].keyT) << "t and i come back after the coordinates";
    EXPECT_TRUE(ask.keyboardRequests[3].keyI);
    EXPECT_TRUE(ask.keyboardRequests[4].keysSgnGaus);
    EXPECT_EQ(ask.keyboardRequests[0].funcKeys, 2);
    EXPECT_EQ(ask.keyboardRequests[0].constKeys, 1);
}

TEST_F(Registration, NewRegistrationOverItemsAsksFirst)
{
    answer({"x", "x^2"});
    ask.colourAnswers = {kRed, kBlue};
    controller.newRegistration(KindExplicit);
    controller.addRegistration(KindExplicit);
    ASSERT_EQ(doc.itemCount, 2);

    // Refused: nothing changes, not even the colours taken.
    ask.confirmAnswers = {false};
    controller.newRegistration(KindImplicit);
    EXPECT_EQ(ask.confirmKinds, std::vector<int>{WarnAllItems});
    EXPECT_EQ(doc.itemCount, 2);
    EXPECT_EQ(doc.items[2].text[1], "x^2");
    EXPECT_EQ(ask.keyboardRequests.size(), 2u);
    EXPECT_FALSE(controller.colours().isOffered(kBlue));

    // Confirmed: a fresh list with all colours offered again.
    ask.confirmAnswers = {true};
    ask.colourAnswers = {kRed};
    answer({"x^3"});
    controller.newRegistration(KindExplicit);
    ASSERT_EQ(doc.itemCount, 1);
    EXPECT_EQ(doc.items[1].text[1], "x^3");
    EXPECT_EQ(doc.items[1].colour, kRed);
    EXPECT_TRUE(controller.colours().isOffered(kBlue));

    // Confirmed, then the keyboard closed empty: an empty list.
    ask.confirmAnswers = {true};
    controller.newRegistration(KindExplicit);
    EXPECT_EQ(doc.itemCount, 0);
    EXPECT_FALSE(controller.menus().addMenu);
    EXPECT_TRUE(controller.paramLine().isEmpty());
}

TEST_F(Registration, AdditionalRegistrationsGetDistinctColoursUpToTen)
{
    for (int i = 0; i < 11; ++i)
        ask.keyboardAnswers.push_back("x+" + std::to_string(i));
    controller.newRegistration(KindExplicit);
    for (int i = 1; i < 10; ++i)
        controller.addRegistration(KindExplicit);
    ASSERT_EQ(doc.itemCount, 10);
    for (int i = 1; i <= 10; ++i)
        for (int k = i + 1; k <= 10; ++k)
            EXPECT_NE(doc.items[i].colour, doc.items[k].colour);
    EXPECT_FALSE(controller.menus().addMenu);

    // No eleventh item, whatever calls the command.
    controller.addRegistration(KindExplicit);
    EXPECT_EQ(doc.itemCount, 10);
}

TEST_F(Registration, DerivativeOfTheOnlyExplicitFunctionIsAddedAsItemTwo)
{
    answer({"(x+1)(x-1)"});
    controller.newRegistration(KindExplicit);
    ASSERT_TRUE(controller.menus().derivativeEntry);

    controller.addRegistration(KindDerivative);
    ASSERT_EQ(doc.itemCount, 2);
    EXPECT_EQ(doc.items[2].kind, KindDerivative);
    EXPECT_EQ(doc.items[2].text[1], "2*x"); // as a teacher writes it, not x+x-1+1
    EXPECT_EQ(doc.items[2].asymptote, 0);
    EXPECT_NE(doc.items[2].colour, doc.items[1].colour);
    EXPECT_EQ(ask.keyboardRequests.size(), 1u) << "no keyboard for the derivative";
    EXPECT_FALSE(controller.menus().derivativeEntry);
    EXPECT_FALSE(controller.menus().calculusMenu);
}

TEST_F(Registration, ADerivativeThatCannotBeDrawnIsNotRegisteredAndTheCommandSaysSo)
{
    // Multiplied out, the product has a derivative too long for any text;
    // written as a product, it is too complex to draw.
    std::string product;
    for (int i = 1; i <= 20; ++i)
        product += "(x+" + std::to_string(i) + ")";
    ask.keyboardAnswers.push_back(product);
    controller.newRegistration(KindExplicit);
    ASSERT_EQ(doc.itemCount, 1);
    controller.addRegistration(KindDerivative);
    EXPECT_EQ(doc.itemCount, 1);
    EXPECT_EQ(ask.messages, (std::vector<QString>{QStringLiteral("導関数の式が複雑すぎます")}));
    EXPECT_EQ(ask.colourPanelOpenings, 1) << "no colour asked for an item not registered";
    EXPECT_TRUE(controller.menus().derivativeEntry) << "the command stays on offer";

    // Ten factors keep a derivative short enough to register and draw.
    product.clear();
    for (int i = 1; i <= 10; ++i)
        product += "(x+" + std::to_string(i) + ")";
    ask.keyboardAnswers.push_back(product);
    ask.confirmAnswers.push_back(true); // replace the document
    controller.newRegistration(KindExplicit);
    controller.addRegistration(KindDerivative);
    ASSERT_EQ(doc.itemCount, 2);
    EXPECT_LE(doc.items[2].text[1].size(), 400u);
    EXPECT_EQ(checkFormula(doc.items[2].text[1]), FormulaCheck::Accepted);
    EXPECT_EQ(ask.messages.size(), 1u);
}

TEST_F(Registration, WithoutDialogsEveryCommandIsCancelled)
{
    controller.setQuestions(nullptr);
    controller.newRegistration(KindExplicit);
    EXPECT_EQ(doc.itemCount, 0);
}

} // namespace gq
