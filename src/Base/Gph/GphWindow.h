#ifndef KOVO_BASE_GPH_GPHWINDOW_H
#define KOVO_BASE_GPH_GPHWINDOW_H

#include <SDL/SDL.h>

#include <string>

class GphCamera;
class GphCursor;
class GphViewport;

// The program's one window: the SDL video mode with its OpenGL context, the camera and
// viewport through which everything is drawn, the title, the full-screen switch, and a
// cache of four OpenGL enable switches so that drawing code can turn them on and off
// around every object without issuing redundant state changes.
class GphWindow {
public:
    // The existing window if there is one (its arguments are then ignored). Otherwise
    // checks that SDL can give the mode and opens the window; null when it cannot.
    static GphWindow* create(int width, int height, int bpp, bool fullscreen, bool orthogonal,
                             double near, double far, double fovy, double zoom, GphCursor* cursor);
    static GphWindow* getInstance();

    virtual ~GphWindow();
    GphWindow(const GphWindow&) = delete;
    GphWindow& operator=(const GphWindow&) = delete;

    // Switches between windowed and full screen, 0 on success. Every texture is taken
    // down before the change and put up again afterwards; when the new mode cannot be
    // set, the previous one is set again and -1 returned. The camera stays the same
    // object, back at the origin; the viewport is built anew.
    int toggleFullscreen();
    bool isFullscreen() const { return _fullscreen; }

    // Clears the colour buffer only; the depth buffer is cleared by enableDepthTest.
    void clear();
    void setClearColor(float r, float g, float b, float a);
    void swapBuffers();

    // An empty title is handed to SDL as none at all.
    void setCaption(const std::string& text);
    void setIconCaption(const std::string& text);
    const std::string& getCaption() const { return _caption; }
    const std::string& getIconCaption() const { return _iconCaption; }

    int iconify();

    void showCursor();
    void hideCursor();
    bool isCursorShown() const;
    void setCursor(GphCursor* cursor);
    GphCursor* getCursor() const { return _cursor; }

    GphCamera* getCamera() const { return _camera; }
    GphViewport* getViewport() const { return _viewport; }
    int getWidth() const { return _width; }
    int getHeight() const { return _height; }
    // The depth the mode was set with: the display's own.
    int getBitsPerPixel() const { return _bpp; }

    // The cached switches: each call reaches OpenGL only when the switch changes.
    void enableBlending();
    void disableBlending();
    void enableLighting();
    void disableLighting();
    bool isLightingEnabled() const { return _lighting; }
    void enableTexturing();
    void disableTexturing();
    // Turning the depth test on also empties the depth buffer.
    void enableDepthTest();
    void disableDepthTest();
    void enableDepthWrite();
    void disableDepthWrite();

private:
    GphWindow(int width, int height, int bpp, bool fullscreen, bool orthogonal, double near,
              double far, double fovy, double zoom, GphCursor* cursor);

    // Takes the display's depth and asks for the OpenGL buffers; ends the program when
    // SDL has no video information.
    void prepareVideoMode();
    // Sets the video mode for the current full-screen flag; false when SDL refuses it.
    bool setVideoMode();
    void setFixedGlState();
    // A new viewport of the window's kind, given to the camera.
    void buildViewport();
    void applyCaptions();
    void clearCachedSwitches();
    void warnWithoutAcceleration();

    SDL_Surface* _icon;
    SDL_Surface* _screen;
    std::string _caption;
    std::string _iconCaption;
    int _width;
    int _height;
    int _bpp;
    bool _fullscreen;
    bool _orthogonal;
    double _near;
    double _far;
    double _zoom;
    double _fovy;
    GphCursor* _cursor;
    GphCursor* _defaultCursor;
    GphCamera* _camera;
    GphViewport* _viewport;
    bool _blending;
    bool _lighting;
    bool _texturing;
    bool _depthTest;
};

#endif
