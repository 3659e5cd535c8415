#ifndef KOVO_BASE_UI_UIICON_H
#define KOVO_BASE_UI_UIICON_H

#include <string>

#include "Base/Ui/UiControl.h"

class GphAnimatedTexture;
class GphRect;
class GphTexture;

// A still picture of the given size centred at (x, y). Pictures are never hit by the
// pointer: findControlAt passes over them.
class UiIcon : public UiControl {
public:
    UiIcon(AppBase* app, int id, const std::string& imageName, double x, double y, double z, double width,
           double height, bool transparent);
    ~UiIcon() override;

private:
    GphTexture* _texture;
    GphAnimatedTexture* _animation;
    GphRect* _rect;
};

#endif
