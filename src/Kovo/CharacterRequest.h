#ifndef KOVO_KOVO_CHARACTERREQUEST_H
#define KOVO_KOVO_CHARACTERREQUEST_H

#include <string>

// What an actor asks the room to make, raised in its think and taken by the room right after
// it (Character::takeRequest): a shot, a bomb, or a hint panel it drops. The actor says where
// and what; the room builds the object, owns it and runs it. Actors never make these
// themselves.
struct CharacterRequest {
    enum Kind {
        // A knife or a bullet flying straight across at `speedX` (negative: to the left),
        // turning at `spin` degrees per second.
        Shot,
        // A bomb tossed at the hero: it works out its own flight.
        ThrownBomb,
        // A bomb let go from above: it drops straight down.
        DroppedBomb,
        // A folder dropped at the actor's feet whose panel `picture` shows at once at (x, y)
        // and freezes the room until the player dismisses it.
        DroppedHint
    };

    Kind kind;
    // Where the object starts: a shot's or a bomb's centre, a hint panel's point.
    double x;
    double y;
    // A shot's size, speed and spin.
    double width;
    double height;
    double speedX;
    double spin;
    // A shot's picture, or a dropped hint's panel picture.
    std::string picture;

    CharacterRequest();

    static CharacterRequest shot(double x, double y, double width, double height,
                                 double speedX, double spin, const std::string& picture);
    // A gun's bullet: 16 by 16, "bullet.pcx", at the shot speed to the left or right.
    static CharacterRequest bullet(double x, double y, bool toLeft);
    static CharacterRequest thrownBomb(double x, double y);
    static CharacterRequest droppedBomb(double x, double y);
    static CharacterRequest droppedHint(const std::string& panel, double x, double y);
};

#endif
