#ifndef KOVO_APPLICATION_KEYRING_H
#define KOVO_APPLICATION_KEYRING_H

// What the Up, Down and Enter keys of a menu screen go round: a light that moves over the
// screen's controls and a lit control that Enter acts on.
class KeyRing {
public:
    virtual ~KeyRing();

    // Enter: the lit control gets the character; false when none is lit.
    virtual bool enter(char c) = 0;
    virtual void down() = 0;
    virtual void up() = 0;
};

#endif
