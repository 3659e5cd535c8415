#include "Common/CharacterRecord.h"

#include "Base/App/Log.h"
#include "Base/App/TaggedText.h"
#include "Common/GameConstants.h"

CharacterRecord::CharacterRecord()
    : type(-1),
      x(0),
      y(0),
      state(0),
      facingLeft(false),
      a(0),
      b(0),
      c(0),
      n(0),
      range(0),
      id(0),
      linkId(0),
      carriedItem(-1)
{
}

bool CharacterRecord::hasId() const
{
    switch (type) {
    case 5: case 6: case 10: case 11: case 12: case 18: case 22: case 23: return true;
    default: return false;
    }
}

double CharacterRecord::depth() const
{
    return (type == 3 || type == 11) ? GameConstants::zBackCharacter : GameConstants::zCharacter;
}

std::vector<int> CharacterRecord::linkedSpriteIds() const
{
    if (type == 20) return linkIds;
    if (type == 21) return {linkId};
    return {};
}

bool CharacterRecord::joinsBeforeLinking() const
{
    return type == 20;
}

int CharacterRecord::read(std::istream& in)
{
    if (!(in >> type >> x >> y >> state >> facingLeft)) return -1;
    bool ok = true;
    switch (type) {
    case 0: case 1: case 2: case 7: case 8: case 14: case 17: case 19:
        ok = static_cast<bool>(in >> a >> b);
        break;
    case 5: case 6: case 10: case 12: case 18: case 22: case 23:
        ok = static_cast<bool>(in >> a >> b >> id);
        break;
    case 3:
        ok = TaggedText::readToken(in, text1) && TaggedText::readToken(in, text2) &&
             TaggedText::readToken(in, text3);
        break;
    case 4:
        ok = static_cast<bool>(in >> n);
        break;
    case 11:
        ok = static_cast<bool>(in >> n >> id);
        break;
    case 15:
        ok = static_cast<bool>(in >> a >> b >> c);
        break;
    case 16:
        ok = static_cast<bool>(in >> n >> range);
        break;
    case 20: {
        int count = 0;
        ok = TaggedText::readToken(in, text1) && TaggedText::readToken(in, text2) &&
             TaggedText::readToken(in, text3) && (in >> count);
        if (ok && (count < 0 || count > kMaxLinkIds)) {
            LOG("Bad linked id count: " << count);
            ok = false;
        }
        for (int i = 0; ok && i < count; ++i) {
            int linked;
            if (in >> linked) {
                linkIds.push_back(linked);
            } else {
                ok = false;
            }
        }
        break;
    }
    case 21:
        ok = static_cast<bool>(in >> linkId >> n);
        break;
    default:
        // 9 Bird and 13 Icicle carry no extras, and neither does a code outside the table.
        break;
    }
    if (!ok || !(in >> carriedItem)) return -1;
    return 0;
}
