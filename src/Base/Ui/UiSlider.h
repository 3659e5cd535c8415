#ifndef KOVO_BASE_UI_UISLIDER_H
#define KOVO_BASE_UI_UISLIDER_H

#include <cstdint>

#include "Base/Ui/UiControl.h"

// The toolkit's slider: a control that keeps a value and its range, all zero when it is
// built. It has no picture and no behaviour of its own beyond what every control does; no
// screen of the game builds one.
class UiSlider : public UiControl {
public:
    UiSlider(AppBase* app, int id);
    ~UiSlider() override;

    int32_t getValue() const { return _value; }
    int32_t getMinimum() const { return _minimum; }
    int32_t getMaximum() const { return _maximum; }

private:
    int32_t _value;
    int32_t _minimum;
    int32_t _maximum;
};

#endif
