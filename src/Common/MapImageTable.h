#ifndef KOVO_COMMON_MAPIMAGETABLE_H
#define KOVO_COMMON_MAPIMAGETABLE_H

#include <istream>
#include <map>
#include <string>

class GphAnimatedTexture;
class GphTexture;

// The pictures and animations of a room or of one tile layer, by image id. Filled by the
// level file's "<IMAGE>" and "<ANIMATION>" records and looked up by id; it owns every
// animated texture in it. An id keeps the first entry given for it.
class MapImageTable {
public:
    // Frame counts above this are taken as a malformed record.
    static constexpr int kMaxFrames = 1024;

    MapImageTable();
    ~MapImageTable();
    MapImageTable(const MapImageTable&) = delete;
    MapImageTable& operator=(const MapImageTable&) = delete;

    // The entry of the id, or null.
    GphAnimatedTexture* find(int id) const;
    // Takes ownership. When the id is already present the table keeps its earlier entry,
    // deletes `texture` and gives false.
    bool insert(int id, GphAnimatedTexture* texture);
    // Deletes every animated texture and empties the table.
    void clear();
    bool empty() const { return _entries.empty(); }
    size_t size() const { return _entries.size(); }
    const std::map<int, GphAnimatedTexture*>& entries() const { return _entries; }

    // A texture of the picture for room and tile drawing: linear filters, repeat
    // wrapping, GL_MODULATE when transparent (black is see-through), GL_DECAL when not.
    // Null after logging "Failed to load image file: " when the picture cannot be had.
    static GphTexture* loadTexture(const std::string& fileName, bool transparent);

    // The rest of an "<IMAGE>" record: id, file name, transparency flag and the closing
    // token. A picture that does not load is logged and left out, and the result stays 0;
    // -1 only when the record is cut short or a value does not parse. `added`, when
    // given, receives the new entry, or null when none was added.
    int readImage(std::istream& in, GphAnimatedTexture** added = nullptr);
    // The rest of an "<ANIMATION>" record: id, milliseconds per frame, frame count, the
    // frames' file names (each loaded transparent) and the closing token. The animation is
    // added only when every frame loads; -1 when a frame does not load (the remaining
    // names are still read), when the count is negative or above kMaxFrames, or when the
    // record is cut short.
    int readAnimation(std::istream& in);

private:
    std::map<int, GphAnimatedTexture*> _entries;
};

#endif
