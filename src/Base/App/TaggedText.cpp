#include "Base/App/TaggedText.h"

#include "Base/App/Log.h"

namespace TaggedText {

bool readToken(std::istream& in, std::string& token)
{
    std::string next;
    if (!(in >> next)) return false;
    token = next;
    return true;
}

int readBlock(std::istream& in, const std::string& closingTag,
              const std::function<int(const std::string& tag)>& field)
{
    std::string token;
    if (!readToken(in, token)) return -1;
    int result = 0;
    while (token != closingTag && result == 0) {
        const int handled = field(token);
        if (handled == kUnknownTag) {
            LOG("Unknown tag: " << token);
            result = -1;
        } else if (handled != 0) {
            result = -1;
        }
        // A stream that ends before the closing tag would otherwise leave the last
        // token in place and the loop spinning on it.
        if (!readToken(in, token)) return -1;
    }
    return result;
}

}  // namespace TaggedText
