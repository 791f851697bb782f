#include "control/definition_keys.h"

#include <algorithm>

namespace gq
{

DefinitionMenus definitionMenuVisibility(const Document &doc)
{
    DefinitionMenus menus;
    menus.addFunctionEntry = doc.functionCount >= 1 && doc.functionCount < kMaxDefinitions;
    menus.correctFunctionsEntry = doc.functionCount >= 1;
    menus.addConstantEntry = doc.constantCount >= 1 && doc.constantCount < kMaxDefinitions;
    menus.correctConstantsEntry = doc.constantCount >= 1;
    return menus;
}

void offerDefinitionKeys(KeyboardRequest &request, const Document &doc)
{
    request.funcKeys = std::clamp(doc.functionCount, 0, kMaxDefinitions);
    request.constKeys = std::clamp(doc.constantCount, 0, kMaxDefinitions);
    request.funcKeyOff.fill(false);
    request.constKeyOff.fill(false);
}

namespace
{
// Keys of a function formula: x and y, i, sgn and gaus; no z, no t.
void functionKeys(KeyboardRequest &request)
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
void constantKeys(KeyboardRequest &request)
{
    request.layout = 1;
    request.keysXYZ = false;
    request.keyX = request.keyY = request.keyZ = false;
    request.keyT = false;
    request.keyI = false;
    request.keysSgnGaus = true;
}
} // namespace

KeyboardRequest addFunctionRequest(const Document &doc)
{
    KeyboardRequest request;
    request.caption = QStringLiteral("関数　F%1の入力").arg(doc.functionCount + 1);
    functionKeys(request);
    offerDefinitionKeys(request, doc);
    return request;
}

KeyboardRequest addConstantRequest(const Document &doc)
{
    KeyboardRequest request;
    request.caption = QStringLiteral("定数　Q%1の入力").arg(doc.constantCount + 1);
    constantKeys(request);
    offerDefinitionKeys(request, doc);
    return request;
}

KeyboardRequest correctFunctionRequest(const Document &doc, int n)
{
    KeyboardRequest request;
    request.caption = QStringLiteral("定義関数 F%1の訂正").arg(n);
    request.initialText = doc.functionText(n);
    functionKeys(request);
    offerDefinitionKeys(request, doc);
    request.funcKeys = std::clamp(n - 1, 0, kMaxDefinitions);
    for (int k = 1; k <= request.constKeys; ++k)
        request.constKeyOff[k - 1] = doc.constantTexts[k].find(kFunctionPrefix) != std::string::npos;
    return request;
}

KeyboardRequest correctConstantRequest(const Document &doc, int n)
{
    KeyboardRequest request;
    request.caption = QStringLiteral("定義定数 Q%1の訂正").arg(n);
    request.initialText = doc.constantText(n);
    constantKeys(request);
    offerDefinitionKeys(request, doc);
    request.constKeys = std::clamp(n - 1, 0, kMaxDefinitions);
    for (int k = 1; k <= request.funcKeys; ++k)
        request.funcKeyOff[k - 1] = doc.functionTexts[k].find(kConstantPrefix) != std::string::npos;
    return request;
}

std::vector<DefinitionListLine> definitionListLines(const Document &doc)
{
    std::vector<DefinitionListLine> lines;
    if (doc.functionCount > 0) {
        lines.push_back({QStringLiteral("定義関数"), {}, true});
        for (int n = 1; n <= doc.functionCount && n <= kMaxDefinitions; ++n)
            lines.push_back(
                {QStringLiteral("F%1(x)=").arg(n), doc.functionTexts[n], false, kFunctionPrefix, n});
    }
    if (doc.constantCount > 0) {
        lines.push_back({QStringLiteral("定義定数"), {}, true});
        for (int n = 1; n <= doc.constantCount && n <= kMaxDefinitions; ++n)
            lines.push_back(
                {QStringLiteral("Q%1 =").arg(n), doc.constantTexts[n], false, kConstantPrefix, n});
    }
    return lines;
}

} // namespace gq
