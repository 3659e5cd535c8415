#include "Common/ItemRecord.h"

#include "Base/App/TaggedText.h"
#include "Common/GameConstants.h"

ItemRecord::ItemRecord() : type(-1), x(0), y(0), colour(0) {}

ItemRecord::ItemRecord(int type, int x, int y) : type(type), x(x), y(y), colour(0) {}

int ItemRecord::read(std::istream& in)
{
    if (!(in >> type >> x >> y)) return -1;
    if (type == 4) {
        if (!(in >> colour)) return -1;
    } else if (type == 6) {
        if (!TaggedText::readToken(in, panelImage) || !TaggedText::readToken(in, objectiveImage))
            return -1;
    }
    return 0;
}

const char* ItemRecord::gemImage(int colour)
{
    switch (colour) {
    case 1: return "gem_blue.pcx";
    case 2: return "gem_green.pcx";
    case 3: return "gem_red.pcx";
    case 4: return "gem_violet.pcx";
    case 5: return "gem_white.pcx";
    default: return "gem_yellow.pcx";
    }
}

bool ItemRecord::describe(std::string& image, std::string& popupImage, std::string& sound,
                          int& value) const
{
    struct Row {
        const char* image;
        const char* popup;
        const char* sound;
        int value;
    };
    static const Row rows[kLastType + 1] = {
        {"coin.pcx", "100.pcx", "coin.wav", 100},
        {"money.pcx", "200.pcx", "money.wav", 200},
        {"moneybag.pcx", "500.pcx", "moneybag.wav", 500},
        {"ring.pcx", "1000.pcx", "ring.wav", 1000},
        {nullptr, "2000.pcx", "gem.wav", 2000},
        {"creditcard.pcx", "5000.pcx", "cash_register.wav", 5000},
        {"folder.pcx", "folder.pcx", "hint.wav", 0},
        {"grenade.pcx", "grenade.pcx", "grenade.wav", 0},
        {nullptr, nullptr, nullptr, 0},
        {"bag_of_apples.pcx", "1up.pcx", "victory.wav", 0},
        {"apple.pcx", "apple_eaten.pcx", "apple.wav", 0},
        {"glasses.pcx", "glasses.pcx", "xray_on.wav", GameConstants::powerUpDuration},
        {"tux.pcx", "tux.pcx", "xray_on.wav", GameConstants::powerUpDuration},
        {"gem_white.pcx", "gem_white.pcx", "victory2.wav", 0},
        {"supershoes.pcx", "supershoes.pcx", "xray_on.wav", GameConstants::powerUpDuration},
        {"cellphone.pcx", "cellphone.pcx", "robot_off.wav", GameConstants::phoneDuration},
        {"grenadelauncher.pcx", "grenadelauncher.pcx", "grenadelauncher.wav",
         GameConstants::launcherDuration},
    };
    if (type < kFirstType || type > kLastType || !rows[type].popup) return false;
    const Row& row = rows[type];
    image = row.image ? row.image : gemImage(colour);
    popupImage = row.popup;
    sound = row.sound;
    value = row.value;
    return true;
}
