#include "Base/Ui/UiSlider.h"

UiSlider::UiSlider(AppBase* app, int id) : UiControl(app, id), _value(0), _minimum(0), _maximum(0) {}

UiSlider::~UiSlider() = default;
