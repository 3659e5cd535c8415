#include "Base/Ui/UiWindow.h"

UiWindow::UiWindow(AppBase* app, int id, bool flag) : UiControl(app, id), _flag(flag) {}

UiWindow::~UiWindow() = default;

void UiWindow::onInputFocusGained() {}
void UiWindow::onInputFocusLost() {}
void UiWindow::onDeactivated() {}
void UiWindow::onActivated() {}
void UiWindow::onCharUp(char) {}
