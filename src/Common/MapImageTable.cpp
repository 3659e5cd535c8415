#include "Common/MapImageTable.h"

#include <GL/gl.h>

#include "Base/App/Log.h"
#include "Base/App/TaggedText.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphImage.h"
#include "Base/Gph/GphTexture.h"

MapImageTable::MapImageTable() {}

MapImageTable::~MapImageTable()
{
    clear();
}

GphAnimatedTexture* MapImageTable::find(int id) const
{
    auto it = _entries.find(id);
    return it != _entries.end() ? it->second : nullptr;
}

bool MapImageTable::insert(int id, GphAnimatedTexture* texture)
{
    if (_entries.find(id) != _entries.end()) {
        delete texture;
        return false;
    }
    _entries[id] = texture;
    return true;
}

void MapImageTable::clear()
{
    for (auto& entry : _entries) delete entry.second;
    _entries.clear();
}

GphTexture* MapImageTable::loadTexture(const std::string& fileName, bool transparent)
{
    GphImage* image = GphImage::load(fileName, transparent);
    if (!image) {
        LOG("Failed to load image file: " << fileName);
        return nullptr;
    }
    return new GphTexture(image, GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT,
                          transparent ? GL_MODULATE : GL_DECAL);
}

int MapImageTable::readImage(std::istream& in, GphAnimatedTexture** added)
{
    if (added) *added = nullptr;
    int id;
    std::string fileName, closing;
    bool transparent;
    if (!(in >> id) || !TaggedText::readToken(in, fileName) || !(in >> transparent)) return -1;
    // A picture that is missing only leaves its cells or decoration empty.
    GphTexture* texture = loadTexture(fileName, transparent);
    if (texture) {
        GphAnimatedTexture* animation = new GphAnimatedTexture();
        animation->addFrame(texture);
        if (insert(id, animation) && added) *added = animation;
    }
    if (!TaggedText::readToken(in, closing)) return -1;
    return 0;
}

int MapImageTable::readAnimation(std::istream& in)
{
    int id, msPerFrame, count;
    if (!(in >> id >> msPerFrame >> count)) return -1;
    if (count < 0 || count > kMaxFrames) {
        LOG("Bad animation frame count: " << count);
        return -1;
    }
    GphAnimatedTexture* animation = new GphAnimatedTexture();
    animation->setMillisecondsPerFrame(static_cast<unsigned>(msPerFrame));
    int result = 0;
    for (int i = 0; i < count; ++i) {
        std::string fileName;
        if (!TaggedText::readToken(in, fileName)) {
            delete animation;
            return -1;
        }
        // Every name is read even after a failure, so that the stream stays in step.
        GphTexture* texture = loadTexture(fileName, true);
        if (texture) {
            animation->addFrame(texture);
        } else {
            result = -1;
        }
    }
    std::string closing;
    if (!TaggedText::readToken(in, closing)) result = -1;
    if (result == 0) {
        insert(id, animation);
    } else {
        delete animation;
    }
    return result;
}
