#ifndef KOVO_KOVO_CHARACTERSTATE_H
#define KOVO_KOVO_CHARACTERSTATE_H

// The one numbering of states shared by the hero and every character; it is also the key of
// their animation maps. States come in pairs, the lower id facing left and the higher facing
// right. Where the hero and the characters use an id differently the names say so: 39 and 40
// are a character stunned by gas and the hero dying.
typedef int CharacterState;
enum : CharacterState {
    // The one look of a character without facing (a drop, a hanging spike, an armour).
    CharacterStateStill = 0,
    CharacterStateStandLeft = 1,
    CharacterStateStandRight = 2,
    CharacterStateSneakLeft = 3,
    CharacterStateSneakRight = 4,
    // The hero walking back through a door.
    CharacterStateMoveBack = 5,
    // Walking, running, rolling or patrolling.
    CharacterStateMoveLeft = 6,
    CharacterStateMoveRight = 7,
    // The hero's jump pose; for characters only a pair that resetState turns to the facing.
    CharacterStateJumpLeft = 10,
    CharacterStateJumpRight = 11,
    // Falling off a ledge.
    CharacterStateFallLeft = 12,
    CharacterStateFallRight = 13,
    // Throwing or shooting; the hero's launcher shot pose.
    CharacterStateShootLeft = 14,
    CharacterStateShootRight = 15,
    // The hero's jump pose with the launcher (a picture key only).
    CharacterStateLauncherJumpLeft = 18,
    CharacterStateLauncherJumpRight = 19,
    // Flying or falling freely.
    CharacterStateFlyLeft = 22,
    CharacterStateFlyRight = 23,
    // The hero beeping after standing still too long.
    CharacterStateBeepLeft = 26,
    CharacterStateBeepRight = 27,
    // The hero showing an idle picture.
    CharacterStateIdleLeft = 28,
    CharacterStateIdleRight = 29,
    // Bonked by a falling obstacle.
    CharacterStateBonkedLeft = 32,
    CharacterStateBonkedRight = 33,
    // The hero flipping a switch.
    CharacterStateFlipSwitch = 38,
    // A character stunned by a grenade or gas ...
    CharacterStateStunnedLeft = 39,
    CharacterStateStunnedRight = 40,
    // ... and the same ids for the hero dying.
    CharacterStateDyingLeft = 39,
    CharacterStateDyingRight = 40,
    // Asleep, switched off or gone.
    CharacterStateAsleepLeft = 41,
    CharacterStateAsleepRight = 42,
    // The hero's looks up and down (picture keys only).
    CharacterStateLookUpLeft = 43,
    CharacterStateLookUpRight = 44,
    CharacterStateLookDownLeft = 45,
    CharacterStateLookDownRight = 46,
    // The hero's hand throw.
    CharacterStateThrowLeft = 47,
    CharacterStateThrowRight = 48,
    // The hero standing with the launcher.
    CharacterStateLauncherStandLeft = 49,
    CharacterStateLauncherStandRight = 50,
    // The hero's looks with the launcher (picture keys only).
    CharacterStateLauncherLookUpLeft = 51,
    CharacterStateLauncherLookUpRight = 52,
    CharacterStateLauncherLookDownLeft = 53,
    CharacterStateLauncherLookDownRight = 54,
    // Slammed into a wall.
    CharacterStateWallSlamLeft = 55,
    CharacterStateWallSlamRight = 56,
    // Knocked back.
    CharacterStateKnockedBackLeft = 57,
    CharacterStateKnockedBackRight = 58,
    // The hero running and falling with the launcher (picture keys only).
    CharacterStateLauncherRunLeft = 59,
    CharacterStateLauncherRunRight = 60,
    CharacterStateLauncherFallLeft = 61,
    CharacterStateLauncherFallRight = 62
};

#endif
