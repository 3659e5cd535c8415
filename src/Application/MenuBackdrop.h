#ifndef KOVO_APPLICATION_MENUBACKDROP_H
#define KOVO_APPLICATION_MENUBACKDROP_H

#include <list>

class GphAnimatedTexture;
class GphImage;
class GphRect;
class GphTexture;
class ScreenHost;

// The moving background behind every menu screen: a still panel and, over it, a band of
// see-through strips that sinks slowly and wraps round, so that the strips always tile the
// band from y -575 to 525. One backdrop serves every menu screen, so the strips stand where
// they were left when a menu comes back.
class MenuBackdrop {
public:
    static constexpr int kStripCount = 22;
    static constexpr double kStripHeight = 50.0;
    // Centre of the lowest strip position; a strip that sinks below it goes back to the top.
    static constexpr double kLowestStrip = -550.0;

    explicit MenuBackdrop(ScreenHost* app);
    virtual ~MenuBackdrop();
    MenuBackdrop(const MenuBackdrop&) = delete;
    MenuBackdrop& operator=(const MenuBackdrop&) = delete;

    // Sinks the strips by the elapsed milliseconds' worth.
    void update(unsigned int ms);
    // The panel, then every strip in list order.
    void draw();

    ScreenHost* getApplication() const { return _app; }
    const std::list<GphRect*>& getStrips() const { return _strips; }
    GphRect* getPanel() const { return _panel; }

private:
    ScreenHost* _app;
    // Both images belong to the image cache; each texture holds the reference.
    GphImage* _panelImage;
    GphImage* _stripImage;
    GphTexture* _panelTexture;
    GphTexture* _stripTexture;
    GphAnimatedTexture* _panelAnimation;
    GphAnimatedTexture* _stripAnimation;
    GphRect* _panel;
    std::list<GphRect*> _strips;
};

#endif
