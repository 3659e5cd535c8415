#include "Common/Score.h"

Score::Score(const std::string& name, int points) : _name(name), _points(points) {}

Score::~Score() = default;
