#include "Application/RecordScreenHost.h"

RecordScreenHost::~RecordScreenHost() = default;
