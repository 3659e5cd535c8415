#include "Kovo/CharacterRequest.h"

#include "Common/GameConstants.h"

namespace {

// Shots of guns are this big.
const double kBulletSize = 16.0;

CharacterRequest at(CharacterRequest::Kind kind, double x, double y)
{
    CharacterRequest request;
    request.kind = kind;
    request.x = x;
    request.y = y;
    return request;
}

}  // namespace

CharacterRequest::CharacterRequest()
    : kind(Shot), x(0), y(0), width(0), height(0), speedX(0), spin(0), picture()
{
}

CharacterRequest CharacterRequest::shot(double x, double y, double width, double height,
                                        double speedX, double spin, const std::string& picture)
{
    CharacterRequest request = at(Shot, x, y);
    request.width = width;
    request.height = height;
    request.speedX = speedX;
    request.spin = spin;
    request.picture = picture;
    return request;
}

CharacterRequest CharacterRequest::bullet(double x, double y, bool toLeft)
{
    const double speed = (toLeft ? -1 : 1) * GameConstants::projectileSpeed;
    return shot(x, y, kBulletSize, kBulletSize, speed, 0, "bullet.pcx");
}

CharacterRequest CharacterRequest::thrownBomb(double x, double y)
{
    return at(ThrownBomb, x, y);
}

CharacterRequest CharacterRequest::droppedBomb(double x, double y)
{
    return at(DroppedBomb, x, y);
}

CharacterRequest CharacterRequest::droppedHint(const std::string& panel, double x, double y)
{
    CharacterRequest request = at(DroppedHint, x, y);
    request.picture = panel;
    return request;
}
