#pragma once
#include "app/GameCore.h"

// Tests and benchmarks look inside the game core through this, one reference
// per member they use; the game itself never does. Valid while the core lives.
class GameCorePeer {
public:
    explicit GameCorePeer(GameCore& core)
        : physics(core.physics), screen(core.screen), sound(core.sound), marks(core.marks),
          console(core.console),
          cameraPosition(core.cameraPosition), cameraVelocity(core.cameraVelocity),
          cameraRotation(core.cameraRotation), lightPosition(core.lightPosition),
          terrain(core.terrain), tankSkeleton(core.tankSkeleton),
          backgroundSkeleton(core.backgroundSkeleton), currentTank(core.currentTank),
          tankNodes(core.tankNodes), variables(core.variables), meshes(core.meshes),
          fontTexture(core.fontTexture), backgroundTexture(core.backgroundTexture),
          splashTexture(core.splashTexture), keyDown(core.keyDown), consoleOpen(core.consoleOpen),
          splashVisible(core.splashVisible), messageShown(core.messageShown),
          currentMenu(core.currentMenu), fps(core.fps),

          elevationText(core.elevationText), angleText(core.angleText),
          velocityText(core.velocityText), healthText(core.healthText), objects(core.objects),
          message(core.message), launchVelocity(core.launchVelocity), weapons(core.weapons),
          currentWeapon(core.currentWeapon), menus(core.menus), tanks(core.tanks),
          fpsText(core.fpsText), computers(core.computers), network(core.network) {}

    PhysicsSettings& physics;
    Display& screen;
    Audio& sound;
    BattleMarks& marks;
    Console& console;
    Vector3& cameraPosition;
    Vector3& cameraVelocity;
    Vector3& cameraRotation;
    Vector3& lightPosition;
    Terrain& terrain;
    Skeleton& tankSkeleton;
    Skeleton& backgroundSkeleton;
    TankList::iterator& currentTank;
    std::map<std::string, Skeleton*>& tankNodes;
    std::map<std::string, int>& variables;
    MeshLibrary& meshes;
    std::uint32_t& fontTexture;
    std::uint32_t& backgroundTexture;
    std::uint32_t& splashTexture;
    bool (&keyDown)[256];
    bool& consoleOpen;
    bool& splashVisible;
    bool& messageShown;
    int& currentMenu;
    float& fps;
    std::string& elevationText;
    std::string& angleText;
    std::string& velocityText;
    std::string& healthText;
    ObjectList& objects;
    std::string& message;
    float& launchVelocity;
    WeaponList& weapons;
    WeaponList::iterator& currentWeapon;
    std::vector<Menu>& menus;
    TankList& tanks;
    std::string& fpsText;
    ComputerPlayers& computers;
    std::unique_ptr<NetworkLink>& network;
};
