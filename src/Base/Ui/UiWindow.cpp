#include "Base/Ui/UiWindow.h"

UiWindow::UiWindow(AppBase* app, int id, bool flag) : UiControl(app, id), _flag(flag) {}

UiWindow::~UiWindow() = default;

void UiWindow::draw()
{
    UiControl::draw();
}

void UiWindow::update(unsigned int ms)
{
    UiControl::update(ms);
}

void UiWindow::onCharDown(char) {}
void UiWindow::onKeyDown(AppKey) {}
void UiWindow::onKeyUp(AppKey) {}
void UiWindow::onMouseMove(double, double) {}
void UiWindow::onLeftButtonDown(double, double) {}
void UiWindow::onLeftButtonUp(double, double) {}
void UiWindow::onMiddleButtonDown(double, double) {}
void UiWindow::onMiddleButtonUp(double, double) {}
void UiWindow::onRightButtonDown(double, double) {}
void UiWindow::onRightButtonUp(double, double) {}
void UiWindow::onInputFocusGained() {}
void UiWindow::onInputFocusLost() {}
void UiWindow::onDeactivated() {}
void UiWindow::onActivated() {}
void UiWindow::onCharUp(char) {}
