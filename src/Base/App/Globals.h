#ifndef KOVO_BASE_APP_GLOBALS_H
#define KOVO_BASE_APP_GLOBALS_H

#include <list>
#include <map>
#include <string>

class GphImage;
class GphTexture;

// Program-wide registries shared by reference-counted engine resources. They are all
// defined in one translation unit so that they are built in a known order before main
// and destroyed in the reverse order after it, the log stream last built and first closed.
extern std::map<std::string, GphImage*> GphImageCache;
extern std::list<GphTexture*> GphTextureList;
extern std::map<GphImage*, unsigned int> GphTextureIdMap;
extern std::map<unsigned int, int> GphTextureRefCounts;
extern std::map<int, unsigned int> SndBusySources;
extern std::map<int, unsigned int> SndFreeSources;

#endif
