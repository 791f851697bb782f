#include "control/definition_keys.h"

#include <algorithm>

DefinitionMenus DefinitionMenuVisibility(const Document &doc)
{
    DefinitionMenus menus;
    menus.deffuncA = doc.DefFuncCount >= 1 && doc.DefFuncCount < kMaxDefinitions;
    menus.UFcorrect = doc.DefFuncCount >= 1;
    menus.DefconstA = doc.DefConstCount >= 1 && doc.DefConstCount < kMaxDefinitions;
    menus.UCcorrect = doc.DefConstCount >= 1;
    return menus;
}

void OfferDefinitionKeys(KeyboardRequest &request, const Document &doc)
{
    request.funcKeys = std::clamp(doc.DefFuncCount, 0, kMaxDefinitions);
    request.constKeys = std::clamp(doc.DefConstCount, 0, kMaxDefinitions);
    request.funcKeyOff.fill(false);
    request.constKeyOff.fill(false);
}

namespace
{
// Keys of a function formula: x and y, i, sgn and gaus; no z, no t.
void FunctionKeys(KeyboardRequest &request)
{
    request.layout = 1;
    request.keysXYZ = true;
    request.keyX = request.keyY = true;
    request.keyZ = false;
    request.keyT = false;
    request.keyI = true;
    request.keysSgnGaus = true;
}

// Keys of a constant formula: no variable at all.
void ConstantKeys(KeyboardRequest &request)
{
    request.layout = 1;
    request.keysXYZ = false;
    request.keyX = request.keyY = request.keyZ = false;
    request.keyT = false;
    request.keyI = false;
    request.keysSgnGaus = true;
}
} // namespace

KeyboardRequest AddFunctionRequest(const Document &doc)
{
    KeyboardRequest request;
    request.caption = QStringLiteral("関数　F%1の入力").arg(doc.DefFuncCount + 1);
    FunctionKeys(request);
    OfferDefinitionKeys(request, doc);
    return request;
}

KeyboardRequest AddConstantRequest(const Document &doc)
{
    KeyboardRequest request;
    request.caption = QStringLiteral("定数　Q%1の入力").arg(doc.DefConstCount + 1);
    ConstantKeys(request);
    OfferDefinitionKeys(request, doc);
    return request;
}

KeyboardRequest CorrectFunctionRequest(const Document &doc, int n)
{
    KeyboardRequest request;
    request.caption = QStringLiteral("定義関数 F%1の訂正").arg(n);
    request.initialText = doc.FunctionText(n);
    FunctionKeys(request);
    OfferDefinitionKeys(request, doc);
    request.funcKeys = std::clamp(n - 1, 0, kMaxDefinitions);
    for (int k = 1; k <= request.constKeys; ++k)
        request.constKeyOff[k - 1] = doc.DefConstText[k].find(kFunctionPrefix) != std::string::npos;
    return request;
}

KeyboardRequest CorrectConstantRequest(const Document &doc, int n)
{
    KeyboardRequest request;
    request.caption = QStringLiteral("定義定数 Q%1の訂正").arg(n);
    request.initialText = doc.ConstantText(n);
    ConstantKeys(request);
    OfferDefinitionKeys(request, doc);
    request.constKeys = std::clamp(n - 1, 0, kMaxDefinitions);
    for (int k = 1; k <= request.funcKeys; ++k)
        request.funcKeyOff[k - 1] = doc.DefFuncText[k].find(kConstantPrefix) != std::string::npos;
    return request;
}

std::vector<DefinitionListLine> DefinitionListLines(const Document &doc)
{
    std::vector<DefinitionListLine> lines;
    if (doc.DefFuncCount > 0) {
        lines.push_back({QStringLiteral("定義関数"), {}, true});
        for (int n = 1; n <= doc.DefFuncCount && n <= kMaxDefinitions; ++n)
            lines.push_back({QStringLiteral("F%1(x)=").arg(n), doc.DefFuncText[n], false});
    }
    if (doc.DefConstCount > 0) {
        lines.push_back({QStringLiteral("定義定数"), {}, true});
        for (int n = 1; n <= doc.DefConstCount && n <= kMaxDefinitions; ++n)
            lines.push_back({QStringLiteral("Q%1 =").arg(n), doc.DefConstText[n], false});
    }
    return lines;
}
