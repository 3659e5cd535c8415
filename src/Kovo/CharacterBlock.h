#ifndef KOVO_KOVO_CHARACTERBLOCK_H
#define KOVO_KOVO_CHARACTERBLOCK_H

#include <functional>
#include <istream>
#include <ostream>
#include <string>

class Character;

// The saved block of an actor class that keeps fields of its own: the class's tag, its
// fields, the "<CHARACTER>" block and the class's closing tag.
namespace CharacterBlock {

// Writes the tag and one blank, then `writeFields` writes the class's fields as the class
// spells them (each followed by its own blank, or run straight into the character block),
// then the character block; the closing tag and a line end follow only when that block was
// written. The character block's result. A class without fields of its own passes none.
int write(std::ostream& out, const char* tag, Character& actor,
          const std::function<void(std::ostream&)>& writeFields = nullptr);

// Entered after the caller has taken the class's tag. `readFields` takes the class's own
// fields into the caller's locals (false when one is missing or does not parse). The
// character block and the closing tag are then taken whole before anything is applied, so
// that a block cut short anywhere, or holding a value that does not parse, fails with -1
// and leaves the actor as it was; only then does `apply` hand the class its fields. 0 or -1.
int read(std::istream& in, Character& actor, const std::function<bool(std::istream&)>& readFields,
         const std::function<void()>& apply);

}  // namespace CharacterBlock

#endif
