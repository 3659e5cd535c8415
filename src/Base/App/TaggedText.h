#ifndef KOVO_BASE_APP_TAGGEDTEXT_H
#define KOVO_BASE_APP_TAGGEDTEXT_H

#include <functional>
#include <istream>
#include <ostream>
#include <string>

// Tagged text: objects read and write themselves as whitespace-separated tokens.
// A block is an opening tag, fields and nested blocks, and a closing tag; a field is
// its tag, its value(s) and a closing token that readers take without comparing.
namespace TaggedText {

// Returned by a field handler for a tag its class does not know.
constexpr int kUnknownTag = 1;

// Takes the next token. False once the stream has failed (end of file, bad read).
bool readToken(std::istream& in, std::string& token);

// Extracts one value of a field, then takes the field's closing token.
// On a failed stream the value keeps what it had and the result is -1.
template <class T>
int readValue(std::istream& in, T& value)
{
    T read{};
    if (!(in >> read)) return -1;
    std::string closing;
    if (!readToken(in, closing)) return -1;
    value = read;
    return 0;
}

// The reading loop of one block whose opening tag the caller has already taken.
// `field` is called with each tag up to `closingTag`: it returns 0 when it has read the
// field (or handed the stream to a nested block that succeeded), -1 when that failed,
// and kUnknownTag for a tag it does not know, which is logged as "Unknown tag: ".
// The result is 0, or -1 on any failure, including a stream that ends before the
// closing tag; after a failure one more token has been taken, as a reader always does.
int readBlock(std::istream& in, const std::string& closingTag,
              const std::function<int(const std::string& tag)>& field);

// Writes a field with every token on a line of its own: "<TAG>", value, "</TAG>".
template <class T>
void writeField(std::ostream& out, const char* name, const T& value)
{
    out << '<' << name << ">\n" << value << "\n</" << name << ">\n";
}

}  // namespace TaggedText

#endif
