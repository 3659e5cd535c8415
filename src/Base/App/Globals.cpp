#include "Base/App/Globals.h"

#include "Base/App/Log.h"

// Order matters: construction follows definition order within this file.
std::map<std::string, GphImage*> GphImageCache;
std::list<GphTexture*> GphTextureList;
std::map<GphImage*, unsigned int> GphTextureIdMap;
std::map<unsigned int, int> GphTextureRefCounts;
std::map<int, unsigned int> SndBusySources;
std::map<int, unsigned int> SndFreeSources;
std::ofstream g_log("ktlog.txt", std::ios::out | std::ios::trunc);
