#include "Application/ChapterPage.h"

#include <GL/gl.h>

#include <algorithm>

#include "Application/PageOwner.h"
#include "Base/Gph/GphAnimatedTexture.h"
#include "Base/Gph/GphCamera.h"
#include "Base/Gph/GphImage.h"
#include "Base/Gph/GphRect.h"
#include "Base/Gph/GphTexture.h"
#include "Base/Gph/GphWindow.h"
#include "Base/Shp/ShpCoord.h"
#include "Base/Ui/UiButton.h"
#include "Base/Ui/UiIcon.h"

namespace {

constexpr double kPageSide = 800.0;
constexpr double kCheckSide = 40.0;
constexpr double kSlotSide = 200.0;
// The bonus button's pictures grow by this many units per second.
constexpr double kBonusGrowth = 400.0;

void centreCamera(AppBase* app)
{
    GphWindow* window = app ? app->getWindow() : nullptr;
    if (window && window->getCamera()) window->getCamera()->setPosition(ShpCoord(0, 0, 0));
}

// A picture made into a one-frame animation on a rectangle of the given size, as the page
// draws its own picture and the check mark.
GphRect* makePicture(const char* file, bool transparent, double side, GphImage*& image, GphTexture*& texture,
                     GphAnimatedTexture*& animation)
{
    image = GphImage::load(file, transparent);
    texture = new GphTexture(image, GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT, GL_MODULATE, nullptr);
    animation = new GphAnimatedTexture();
    animation->addFrame(texture);
    const ShpCoord centre(0, 0, ChapterPage::kDepth);
    return new GphRect(side, side, &centre, animation, GPH_RECT);
}

void deletePicture(GphRect*& rect, GphAnimatedTexture*& animation, GphTexture*& texture, GphImage*& image)
{
    // The animation deletes its frame, which gives back the image.
    delete animation;
    animation = nullptr;
    delete rect;
    rect = nullptr;
    texture = nullptr;
    image = nullptr;
}

}  // namespace

ChapterPage::ChapterPage(AppBase* app, PageOwner* owner, const Layout& layout)
    : UiWindow(app, 1, true),
      _app(app),
      _game_screen(owner),
      _page_image(nullptr),
      _page_texture(nullptr),
      _page_animation(nullptr),
      _page_rect(nullptr),
      _check_image(nullptr),
      _check_texture(nullptr),
      _check_animation(nullptr),
      _check_mark(nullptr),
      _title(nullptr),
      _objective(nullptr),
      _placeholder(nullptr),
      _buttons{},
      _level_done{},
      _key_levels_done(0),
      _bonus_size(kSmallBonusSize),
      _layout(layout)
{
    centreCamera(app);

    _page_rect = makePicture("page.pcx", false, kPageSide, _page_image, _page_texture, _page_animation);
    setGraphic(_page_rect);
    setPosition(0, 0, kDepth);
    setSize(kPageSide, kPageSide);
    _check_mark = makePicture("check_mark2.pcx", true, kCheckSide, _check_image, _check_texture, _check_animation);

    // Id order is the drawing order and the order in which the pointer searches.
    _title = new UiIcon(app, kTitleId, layout.titleImage, 0, 276, kDepth, 400, 40, false);
    addChild(_title);
    _objective = new UiIcon(app, kObjectiveId, layout.objectiveImage, 0, -203, kDepth, 400, 25, false);
    addChild(_objective);
    if (layout.placeholderImage) {
        _placeholder = new UiIcon(app, kPlaceholderId, layout.placeholderImage, -250, 150, kDepth, kSlotSide,
                                  kSlotSide, false);
        addChild(_placeholder);
    }
    for (int i = 0; i < kSlotCount; ++i) {
        const Slot& slot = layout.slots[i];
        _level_files[i] = slot.levelFile;
        if (slot.disabledImage) {
            _buttons[i] = new UiButton(app, kFirstSlotId + i, slot.normalImage, slot.litImage, slot.disabledImage,
                                       slot.x, slot.y, kDepth, kSlotSide, kSlotSide, false);
        } else {
            _buttons[i] = new UiButton(app, kFirstSlotId + i, slot.normalImage, slot.litImage, slot.x, slot.y,
                                       kDepth, kSlotSide, kSlotSide, false);
        }
        addChild(_buttons[i]);
    }
    _buttons[kNextPage] = new UiButton(app, kNextPageId, "page_next_button.pcx", "page_next_button_lit.pcx", 340,
                                       -261, kDepth, 80, 40, false);
    addChild(_buttons[kNextPage]);
    if (layout.previousPageButton) {
        _buttons[kPreviousPage] = new UiButton(app, kPreviousPageId, "page_prev_button.pcx",
                                               "page_prev_button_lit.pcx", -340, -261, kDepth, 80, 40, false);
        addChild(_buttons[kPreviousPage]);
    }

    // A hidden button is disabled too, so that neither keys nor the pointer reach it.
    if (layout.bonusSlot) {
        _buttons[kSlot6]->hide();
        _buttons[kSlot6]->disable();
    }
    _buttons[kNextPage]->hide();
    _buttons[kNextPage]->disable();
}

ChapterPage::~ChapterPage()
{
    for (int i = kButtonCount - 1; i >= 0; --i) {
        deleteControl(_buttons[i]);
        _buttons[i] = nullptr;
    }
    deleteControl(_placeholder);
    _placeholder = nullptr;
    deleteControl(_objective);
    _objective = nullptr;
    deleteControl(_title);
    _title = nullptr;
    deletePicture(_check_mark, _check_animation, _check_texture, _check_image);
    setGraphic(nullptr);
    deletePicture(_page_rect, _page_animation, _page_texture, _page_image);
}

void ChapterPage::deleteControl(UiControl* control)
{
    if (!control) return;
    removeChild(control);
    delete control;
}

const std::string& ChapterPage::getLevelFile(Button slot) const
{
    static const std::string none;
    if (slot < kSlot1 || slot > kSlot6) return none;
    return _level_files[slot];
}

bool ChapterPage::isLevelDone(Button slot) const
{
    return slot >= kSlot1 && slot <= kSlot6 && _level_done[slot];
}

UiButton* ChapterPage::getButton(Button button) const
{
    if (button < 0 || button >= kButtonCount) return nullptr;
    return _buttons[button];
}

bool ChapterPage::isBonusShown() const
{
    return _layout.bonusSlot && _buttons[kSlot6]->isVisible();
}

void ChapterPage::enableButton(Button button)
{
    if (UiButton* b = getButton(button)) b->enable();
}

void ChapterPage::disableButton(Button button)
{
    if (UiButton* b = getButton(button)) b->disable();
}

void ChapterPage::closeLevels()
{
    for (Button b : {kSlot1, kSlot2, kSlot3, kSlot4, kSlot5, kSlot6, kNextPage}) disableButton(b);
}

bool ChapterPage::opensAlone(Button slot)
{
    if (isLevelDone(slot)) return false;
    closeLevels();
    enableButton(slot);
    return true;
}

void ChapterPage::light(Button button)
{
    if (UiButton* b = getButton(button)) b->setLit(true);
}

void ChapterPage::showNextPage()
{
    _buttons[kNextPage]->show();
    _buttons[kNextPage]->enable();
}

void ChapterPage::revealBonus(bool smallPictures, bool hidePlaceholder)
{
    if (!_layout.bonusSlot) return;
    UiButton* bonus = _buttons[kSlot6];
    bonus->show();
    bonus->enable();
    if (smallPictures) bonus->setSize(kSmallBonusSize, kSmallBonusSize);
    if (hidePlaceholder && _placeholder) _placeholder->hide();
}

const std::vector<ChapterPage::Button>& ChapterPage::laterRing()
{
    static const std::vector<Button> ring = {kSlot1, kSlot2, kSlot3, kSlot4, kSlot5, kPreviousPage, kNextPage, kSlot6};
    return ring;
}

const std::vector<ChapterPage::Button>& ChapterPage::laterLeftTests()
{
    static const std::vector<Button> tests = {kSlot1, kSlot6, kNextPage, kPreviousPage,
                                              kSlot5, kSlot4, kSlot3, kSlot2};
    return tests;
}

const std::vector<ChapterPage::Button>& ChapterPage::laterRightTests()
{
    return laterRing();
}

void ChapterPage::lightNextUndone(Button finished, int slots)
{
    // Past the regular slots (a bonus level) the search starts at slot 1.
    const int from = finished + 1 < slots ? finished + 1 : 0;
    for (int n = 0; n < slots; ++n) {
        const int slot = (from + n) % slots;
        if (!_level_done[slot]) {
            light(static_cast<Button>(slot));
            return;
        }
    }
    light(kNextPage);
}

void ChapterPage::levelCompleted(const std::string& fileName, int exitCode)
{
    for (int i = 0; i < kSlotCount; ++i) {
        if (_level_files[i] != fileName) continue;
        _level_done[i] = true;
        _buttons[i]->disable();
        _buttons[i]->deleteDisabledImage();
        _buttons[i]->setLit(false);
        applyRule(static_cast<Button>(i), exitCode);
        break;
    }
    refreshButtons();
    // The level had moved the camera.
    centreCamera(_app);
}

int ChapterPage::writeState(std::ostream& out)
{
    for (bool done : _level_done) out << (done ? "1" : "0") << ' ';
    if (_layout.keyLevels) out << _key_levels_done << ' ';
    if (_layout.bonusSlot) out << (isBonusShown() ? "1" : "0") << ' ';
    return 0;
}

int ChapterPage::readState(std::istream& in)
{
    for (bool& done : _level_done) {
        bool value = false;
        if (in >> value) done = value;
    }
    if (_layout.keyLevels) {
        int count = 0;
        if (in >> count) _key_levels_done = count;
    }
    if (_layout.bonusSlot) {
        int shown = 0;
        if (!(in >> shown)) shown = 0;
        UiButton* bonus = _buttons[kSlot6];
        if (shown == 1) {
            if (_placeholder) _placeholder->hide();
            bonus->show();
        } else {
            if (_placeholder) _placeholder->show();
            bonus->hide();
            bonus->disable();
        }
    }
    for (int i = 0; i < kSlotCount; ++i) {
        if (_level_done[i]) _buttons[i]->deleteDisabledImage();
    }
    stateRead();
    refreshButtons();
    // A save cut short must not pass for a good one.
    return in ? 0 : -1;
}

void ChapterPage::stateRead() {}

void ChapterPage::update(unsigned int ms)
{
    UiWindow::update(ms);
    if (!_layout.bonusSlot) return;
    UiButton* bonus = _buttons[kSlot6];
    if (!bonus->isVisible() || _bonus_size >= kFullBonusSize) return;
    _bonus_size = std::min(kFullBonusSize, _bonus_size + ms / 1000.0 * kBonusGrowth);
    bonus->setSize(_bonus_size, _bonus_size);
}

void ChapterPage::draw()
{
    UiWindow::draw();
    for (int i = 0; i < kSlotCount; ++i) {
        if (!_level_done[i]) continue;
        placeCheckMark(static_cast<Button>(i));
        _check_mark->render();
    }
}

void ChapterPage::placeCheckMark(Button slot)
{
    // The upper right corner of the button's own 200-wide box, whatever size its pictures
    // have while they grow.
    UiButton* button = _buttons[slot];
    const double right = button->getX() + button->getHalfWidth();
    _check_mark->setCoord(ShpCoord(right - 15, button->getY() + 80, kDepth));
}

void ChapterPage::onCharDown(char c)
{
    if (c != 10 && c != 13) return;
    for (UiButton* button : _buttons) {
        if (button && button->isLit()) {
            button->onCharDown(c);
            return;
        }
    }
}

void ChapterPage::onKeyDown(AppKey key)
{
    if (key != AppKeyLeft && key != AppKeyRight) return;
    const std::vector<Button>& tests = key == AppKeyLeft ? _layout.leftTests : _layout.rightTests;
    Button start = kNoButton;
    for (Button b : tests) {
        if (_buttons[b] && _buttons[b]->isLit()) {
            start = b;
            break;
        }
    }
    if (start == kNoButton) {
        lightDefault();
        return;
    }
    const auto at = std::find(_layout.ring.begin(), _layout.ring.end(), start);
    // A lit button outside the ring is only ever open alone: it stays lit.
    if (at == _layout.ring.end()) return;
    walkRing(static_cast<size_t>(at - _layout.ring.begin()), key == AppKeyRight ? 1 : -1);
}

void ChapterPage::walkRing(size_t index, int step)
{
    const std::vector<Button>& ring = _layout.ring;
    const long count = static_cast<long>(ring.size());
    UiButton* start = _buttons[ring[index]];
    start->setLit(false);
    for (long n = 1; n < count; ++n) {
        const long i = ((static_cast<long>(index) + step * n) % count + count) % count;
        UiButton* candidate = _buttons[ring[static_cast<size_t>(i)]];
        if (candidate && candidate->isEnabled()) {
            candidate->setLit(true);
            return;
        }
    }
    start->setLit(true);
}

void ChapterPage::lightDefault()
{
    light(kPreviousPage);
}

void ChapterPage::onMouseMove(double x, double y)
{
    double wx = 0;
    double wy = 0;
    windowToWorld(x, y, wx, wy);
    for (UiButton* button : _buttons) {
        if (button) button->onMouseMove(wx, wy);
    }
}

void ChapterPage::onLeftButtonDown(double x, double y)
{
    passLeftButton(x, y, true);
}

void ChapterPage::onLeftButtonUp(double x, double y)
{
    passLeftButton(x, y, false);
}

void ChapterPage::onCommand(int id)
{
    if (!_game_screen) return;
    if (id >= kFirstSlotId && id < kFirstSlotId + kSlotCount) {
        _game_screen->loadLevel(_level_files[id - kFirstSlotId]);
    } else if (id == kNextPageId) {
        _game_screen->nextPage();
    } else if (id == kPreviousPageId && _buttons[kPreviousPage]) {
        _game_screen->previousPage();
    }
}
