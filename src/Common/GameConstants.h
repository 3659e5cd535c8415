#ifndef KOVO_COMMON_GAMECONSTANTS_H
#define KOVO_COMMON_GAMECONSTANTS_H

// The one table of tuning constants: speeds in world units per second, timers in
// milliseconds, rates per second and draw depths (more negative is further back).
// Nothing writes to it.
struct GameConstants {
    // fall speed limit: gravity is added only while the vertical speed is above −840; the hero lands only on a surface at most 840 × s above his feet (units/s)
    static constexpr double maxFallSpeed = 840.0;
    // rise speed of an item's pop-up after its collection (it fades meanwhile at GameConstants::fadeRate); also read by characters' think (units/s)
    static constexpr double effectRiseRate = 35.0;
    // slow speed: the hammer's rise, particle emission speeds, slow characters (units/s)
    static constexpr double slowSpeed = 105.0;
    // the second of the two speeds that these characters give the Character constructor (the first, their walk and push speed, is 105) (units/s)
    static constexpr double mediumSpeed = 170.0;
    // hero walk speed; the common speed of characters, bombs, hammers and particles (units/s)
    static constexpr double walkSpeed = 210.0;
    // launcher-shot recoil of the hero, enemy shot speed, range of the throw speed (units/s)
    static constexpr double projectileSpeed = 420.0;
    // jump base (a jump starts at 630 + 70 = 700), the death hop, the knock-back hops (units/s)
    static constexpr double jumpSpeed = 630.0;
    // speed-ramp step of the camera follow (times the frame's seconds) (units/s per s)
    static constexpr double trackRamp = 5.25;
    // the second of the two speeds that these characters give the Character constructor (the first is 210) (units/s)
    static constexpr double runSpeed = 245.0;
    // camera look up and down (units/s)
    static constexpr double lookSpeed = 210.0;
    // the hero's rise while walking into a door (units/s)
    static constexpr double doorWalkSpeed = 70.0;
    // slide speed of the hand-held objective panel (units/s)
    static constexpr double panelSlideSpeed = 1800.0;
    // moving-platform speed (units/s)
    static constexpr double platformSpeed = 105.0;
    // scroll speed of the menu backdrop (units/s)
    static constexpr double backdropScrollSpeed = 30.0;
    // slide decrement on slippery floors (times the frame's seconds) (units per frame per second)
    static constexpr double slideFriction = 1.2;
    // period of the characters' react and think timers (a remaining time is taken as 1000 minus the time elapsed) (ms)
    static constexpr int characterTimerPeriod = 1000;
    // threshold that a character's react timer must reach before it acts (ms)
    static constexpr int characterReactThreshold = 150;
    // animation speed set on a platform's animation (ms per frame)
    static constexpr int platformFrameTime = 75;
    // duration of the x-ray, armor and shoes power-ups (ms)
    static constexpr int powerUpDuration = 15000;
    // duration of the phone power-up (ms)
    static constexpr int phoneDuration = 7000;
    // duration of the grenade launcher (ms)
    static constexpr int launcherDuration = 25000;
    // time after which a character's think takes its next random decision (ms)
    static constexpr int characterIdleTime = 2500;
    // fade rate of pop-ups, rebounding projectiles and characters' effects (alpha per second)
    static constexpr double fadeRate = 0.35;
    // fade of smoke and gas puffs (stored negated) (alpha per second)
    static constexpr double puffFadeRate = 0.21;
    // scale of particle emission speeds (factor)
    static constexpr double emitScale = 0.2;
    // fade of sparks (stored negated) (alpha per second)
    static constexpr double sparkFadeRate = 1.8;
    // panels in front
    static constexpr double zScorePanel = -8.0;
    // panel backgrounds
    static constexpr double zPanelBack = -9.0;
    // the dying hero
    static constexpr double zDyingHero = -10.0;
    // throw meter frame, behind its fill so that the fill shows
    static constexpr double zThrowMeter = -11.0;
    // throw meter fill
    static constexpr double zThrowMeterFill = -10.0;
    // hint panels (cut-scene entries and hint items)
    static constexpr double hintDepth = -12.0;
    // idle-picture bubble and speech bubbles
    static constexpr double zBubble = -12.0;
    // an item's pop-up after collection
    static constexpr double zItemPopup = -13.0;
    // front snow
    static constexpr double zSnowFront = -14.0;
    // decoration layer 9
    static constexpr double zLayer9 = -15.0;
    // decoration layer 8
    static constexpr double zLayer8 = -16.0;
    // intermediate snow
    static constexpr double zSnowMiddle = -17.0;
    // foreground objects
    static constexpr double zForegroundObject = -18.0;
    // foreground tile layer
    static constexpr double zForegroundTiles = -19.0;
    // a released grenade
    static constexpr double grenadeDepth = -30.0;
    // items
    static constexpr double zItem = -40.0;
    // the hero
    static constexpr double zHero = -41.0;
    // characters (but Agent and Turret)
    static constexpr double zCharacter = -41.0;
    // projectiles
    static constexpr double zProjectile = -41.0;
    // depth that characters' think operations give to what they place
    static constexpr double zCharacterEffect = -41.0;
    // first of the successive depths −42, −43, … that the map's drawing gives to a run of objects it stacks
    static constexpr double zMapDraw = -42.0;
    // hazards
    static constexpr double zHazard = -201.0;
    // hammers
    static constexpr double zHammer = -202.0;
    // moving platforms
    static constexpr double zPlatform = -203.0;
    // Agent and Turret; a character that falls asleep
    static constexpr double zBackCharacter = -204.0;
    // background objects
    static constexpr double zBackgroundObject = -205.0;
    // doors
    static constexpr double zDoor = -206.0;
    // switches
    static constexpr double zSwitch = -207.0;
    // edge tile layer
    static constexpr double zEdgeTiles = -208.0;
    // bridges
    static constexpr double zBridge = -209.0;
    // background tile layer
    static constexpr double zBackgroundTiles = -210.0;
    // background snow
    static constexpr double zSnowBack = -211.0;
    // decoration layer 7
    static constexpr double zLayer7 = -212.0;
    // decoration layer 6
    static constexpr double zLayer6 = -213.0;
    // decoration layer 5
    static constexpr double zLayer5 = -214.0;
    // decoration layer 4
    static constexpr double zLayer4 = -215.0;
    // decoration layer 3
    static constexpr double zLayer3 = -216.0;
    // decoration layer 2
    static constexpr double zLayer2 = -217.0;
    // decoration layer 1
    static constexpr double zLayer1 = -218.0;
    // the backdrop
    static constexpr double zBackdrop = -219.0;
};

#endif
