#ifndef KOVO_COMMON_SCORE_H
#define KOVO_COMMON_SCORE_H

#include <string>

// One line of the high-score table: who and how many points. The points are fixed when the
// record is made; the name is filled in once the player has typed it.
class Score {
public:
    Score(const std::string& name, int points);
    virtual ~Score();

    const std::string& getName() const { return _name; }
    void setName(const std::string& name) { _name = name; }
    int getPoints() const { return _points; }

private:
    std::string _name;
    int _points;
};

#endif
