#include "Common/CutScene.h"

#include "Base/App/TaggedText.h"
#include "Common/GameConstants.h"
#include "Kovo/Hint.h"

CutScene::CutScene() : _done(false) {}

CutScene::~CutScene() {}

int CutScene::read(std::istream& in)
{
    return TaggedText::readBlock(in, "</CUTSCENE>", [&](const std::string& tag) {
        if (tag != "<DIALOGUE>") return TaggedText::kUnknownTag;
        std::string text, closing;
        int x, y;
        if (!TaggedText::readToken(in, text) || !(in >> x >> y) || !TaggedText::readToken(in, closing))
            return -1;
        _texts.push_back(text);
        _xs.push_back(x);
        _ys.push_back(y);
        return 0;
    });
}

Hint* CutScene::next(int& x, int& y)
{
    std::string text;
    if (!takeNext(text, x, y)) return nullptr;
    // Only the panel is meant to show: the folder is collected at once, silently, and all
    // but invisible.
    Hint* hint = new Hint("folder.pcx", "folder.pcx", text, "", "");
    hint->setPosition(x, y, GameConstants::hintDepth);
    hint->collect(true, false);
    hint->setAlpha(0.02f);
    return hint;
}

bool CutScene::takeNext(std::string& text, int& x, int& y)
{
    if (_texts.empty()) {
        _done = true;
        return false;
    }
    text = _texts.front();
    x = _xs.front();
    y = _ys.front();
    _texts.pop_front();
    _xs.pop_front();
    _ys.pop_front();
    return true;
}

int CutScene::writeState(std::ostream& out) const
{
    out << "<CUTSCENE> " << (_done ? 1 : 0) << " </CUTSCENE>\n";
    return 0;
}

int CutScene::readState(std::istream& in)
{
    bool done;
    std::string closing;
    if (!(in >> done) || !TaggedText::readToken(in, closing)) return -1;
    _done = done;
    if (_done) {
        _texts.clear();
        _xs.clear();
        _ys.clear();
    }
    return 0;
}
