#include "Kovo/CharacterBlock.h"

#include <sstream>

#include "Kovo/Character.h"

namespace {

// The tokens of a character block behind its tag: hit points, idle turn, reserved, state,
// facing, the sprite line's tag and its seven tokens, and "</CHARACTER>".
const int kCharacterBlockTokens = 14;

}  // namespace

int CharacterBlock::write(std::ostream& out, const char* tag, Character& actor,
                          const std::function<void(std::ostream&)>& writeFields)
{
    const std::string name(tag);
    out << '<' << name << "> ";
    if (writeFields) writeFields(out);
    const int result = actor.Character::writeState(out);
    if (result == 0) out << "</" << name << ">\n";
    return result;
}

int CharacterBlock::read(std::istream& in, Character& actor,
                         const std::function<bool(std::istream&)>& readFields,
                         const std::function<void()>& apply)
{
    if (!readFields(in)) return -1;
    std::string token;
    if (!(in >> token)) return -1;
    std::string block;
    for (int i = 0; i < kCharacterBlockTokens; ++i) {
        if (!(in >> token)) return -1;
        block += token + ' ';
    }
    std::string closing;
    if (!(in >> closing)) return -1;
    std::istringstream characterBlock(block);
    if (actor.Character::readState(characterBlock) != 0) return -1;
    apply();
    return 0;
}
