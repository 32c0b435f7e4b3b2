#pragma once
#include "app/CameraDirector.h"
#include "app/BattleMarks.h"
#include "app/ComputerPlayers.h"
#include "app/Console.h"
#include "app/KeyRepeat.h"
#include "app/NetworkLink.h"
#include "app/NetworkSeats.h"
#include "app/PlayerView.h"
#include "app/TankControls.h"
#include "app/Timer.h"
#include "assets/Menu.h"
#include "assets/Mesh.h"
#include "assets/Skeleton.h"
#include "audio/Audio.h"
#include "render/Display.h"
#include "world/PhysicsSettings.h"
#include "world/Terrain.h"
#include "world/Vector3.h"
#include "world/Weapon.h"
#include "world/World.h"
#include <array>
#include <cstdint>
#include <functional>
#include <istream>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

class ReplayRecorder;
class ReplayedNetworkLink;
class TankObject;

using TankList = std::list<TankObject*>;
using WeaponList = std::list<std::unique_ptr<Weapon>>;

// Owns the whole game. Members are constructed in declaration order, which the
// start-up trace relies on: the Display's lines come before "GameCore::GameCore()".
// Outside the core, the game is seen through the view and a tank is played
// through the controls; the window calls the operations below.
class GameCore {
public:
    GameCore();
    ~GameCore();
    GameCore(const GameCore&) = delete;
    GameCore& operator=(const GameCore&) = delete;

    // GLUT callbacks, forwarded by the Window.
    void display();
    void idle();
    void reshape(int width, int height);
    void keyboard(unsigned char key, bool down, int modifiers);
    void mouseMotion(bool buttonDown, float x, float y, float dx, float dy);

    // One update with a given elapsed time; idle() passes the frame timer's value.
    // At most maxUpdateSeconds of it are simulated (see below).
    void update(float elapsedSeconds);

    // Runs the commands of a line separated by ";"; "quit" and "exit" end the process.
    void processCommands(const std::string& line);
    void processCommand(const std::string& command);
    // Throws the old world away and places playerCount tanks (at most maxPlayers).
    // The result latch stays as it was: Esc clears it.
    void newGame(int playerCount);
    // Rebuilds tankNodes from the current tank's skeleton, and shows that tank's
    // own aim and health in the heads-up texts.
    void selectTankNodes();
    std::uint32_t loadTexture(const char* fileName);

    // Replays (ReplaySession). The recorder hears what reaches the core from the
    // window, and every game start; null records nothing. The watcher plays a
    // replay ("last" or a path) for the command "replay" and gives back the line
    // to show when it cannot.
    void setRecorder(ReplayRecorder* newRecorder) { recorder = newRecorder; }
    void setReplayWatcher(std::function<std::string(const std::string&)> watch);
    void setNotice(const std::string& text) { notice = text; } // over the frame; "" for none
    void openMenu() { variables["menu"] = 1; }
    void setSoundMuted(bool muted) { sound.setMuted(muted); }
    // A replay of a networked game: "host" and "join" open no socket, and the
    // replay's network records come in here, each before its update.
    // Handed over to a person, the game is theirs and opens sockets again.
    void setNetworkReplayed(bool replayed);
    void replayNetwork(const std::string& record);

    static constexpr int maxPlayers = 64; // more than a keyboard serves; larger counts are cut
    static constexpr std::uint32_t terrainGridSize = 64; // grid points along each side
    // The most time one update simulates. A longer gap (a stopped process, a
    // resumed laptop) is let go rather than replayed, so the game goes on where it
    // stopped instead of jumping ahead unseen; NaN, infinities and negative
    // times count as no time at all.
    static constexpr float maxUpdateSeconds = 0.25f;

private:
    friend class PlayerView;
    friend class TankControls;
    friend class GameCorePeer; // tests and benchmarks look inside

    PhysicsSettings physics;
    Display screen; // the GL state owner; named apart from the display() operation
    Audio sound;    // the OpenAL owner; told what happened, it hears the world events
    BattleMarks marks{sound}; // hears the world events first, for the frame's marks
    Console console;
    Vector3 cameraPosition{50.0f, 25.0f, 100.0f};
    Vector3 cameraVelocity{0.0f, 0.0f, 0.0f};               // displacement per update
    Vector3 cameraRotation{0.0f, 0.0f, 0.0f};               // degrees: x pitch, y yaw
    Vector3 lightPosition{worldSize, worldSize, worldSize}; // over the far corner
    Terrain terrain;
    Skeleton tankSkeleton;
    Skeleton sphereSkeleton;
    Skeleton explosionSkeleton;
    Skeleton backgroundSkeleton;
    TankList::iterator currentTank; // end() of tanks: no game
    // Nodes of the current tank's own skeleton; valid until the current tank changes.
    std::map<std::string, Skeleton*> tankNodes;
    std::map<std::string, int> variables;
    MeshLibrary meshes;
    std::uint32_t tankTexture = 0;
    std::uint32_t fontTexture = 0;
    std::array<std::array<std::uint32_t, 5>, 3> terrainTextures{};
    std::uint32_t selectionTexture = 0;
    std::uint32_t backgroundTexture = 0;
    std::uint32_t splashTexture = 0;
    bool keyDown[256] = {};
    KeyRepeat consoleRepeat; // the console's own key repeat
    bool consoleOpen = false;
    bool splashVisible = true;
    bool messageShown = true;
    int currentMenu = 0;
    int frameCount = 0;
    Timer fpsTimer;
    Timer frameTimer;
    float fps = 0.0f;
    float elevation = 0.0f;   // barrel x rotation, -90 to 0 degrees
    float turretAngle = 0.0f; // turret y rotation, 0 to 360 degrees
    std::string elevationText = "0";
    std::string angleText = "0";
    std::string velocityText = "10";
    std::string healthText = "100";
    ObjectList objects; // owns every live object
    std::string message;
    float launchVelocity = 10.0f;
    WeaponList weapons;
    WeaponList::iterator currentWeapon;
    std::vector<Menu> menus;
    TankList tanks;        // turn order; borrowed from objects
    bool gameStarted = false; // a game was started since the program began
    std::string fpsText;
    ComputerPlayers computers; // which tanks the computer plays, and its turn
    PlayerView playerView{*this};
    TankControls tankControls{*this};
    CameraDirector cameraDirector; // shows the turn while the variable "follow" is on
    // Marks a person's shots for whoever follows them; the computers number
    // theirs from 1, so the two never meet.
    std::uint32_t personShotId = 1u << 31;
    ReplayRecorder* recorder = nullptr; // the session's; outlives the core
    std::function<std::string(const std::string&)> replayWatcher;
    std::string notice;

    // A networked game (null: none). Once it has begun the world changes only
    // at the steps it allows; see GameCoreNetwork.cpp.
    std::unique_ptr<NetworkLink> network;
    ReplayedNetworkLink* replayedLink = nullptr; // network, when a replay plays it
    bool networkReplayed = false;
    bool networkBegun = false;
    bool applyingNetworkCommand = false;
    bool desyncSaid = false;
    float stepBudget = 0.0f; // seconds the steps may still run
    float aimClock = 0.0f;   // since the aim was last shown to the others
    double networkClock = 0.0; // seconds of frames since the link opened
    AimMessage sentAim;
    std::string networkNotice; // waiting, or stopped
    NetworkSeats seats;
    // The turn in progress on a networked game, as every machine knows it.
    struct NetworkTurn {
        std::uint32_t tankId = 0;
        bool shotTaken = false;   // a shot passed the turn
        bool shotPending = false; // this machine's shot is on its way
        TankControls::Settings settings;
        float turret = 0.0f, barrel = 0.0f; // the tank's aim when the turn began
    };
    NetworkTurn turn;

    // The held-key quantities are taken once per update, before the physics.
    struct HeldKeyRates {
        float speed;
        float rate;
        float sinStep, cosStep; // the camera's step across and along its view
    };
    // Creates the six weapons in selection order, each loaded, and selects the first.
    void buildWeapons();
    HeldKeyRates heldKeyRates(float dtSeconds) const;
    void heldKeyStep(const HeldKeyRates& rates, float dtSeconds);
    void repeatConsoleKey(float dtSeconds);
    void flyCamera(const HeldKeyRates& rates, float dtSeconds);
    void directCamera(float dtSeconds);
    void removeDeadTanks();
    void announceResult();
    // The input as the window gives it, after the recorder has heard it.
    void routeKey(unsigned char key, bool down);
    void routeMouse(bool buttonDown, float dx, float dy);
    void editConsole(unsigned char key);
    void typeIntoConsole(unsigned char key);
    void navigateMenu(unsigned char key);
    bool held(unsigned char key) const { return keyDown[key]; }
    // The marks over the plain frame (variable "marks").
    bool marksShown() const;
    void drawMarkedObject(const Object& object);
    void drawShotMarks();
    void drawTankLabels();
    // A variable's value without creating it; 0 for a name that does not exist.
    int variable(const std::string& name) const;

    // Networked play (GameCoreNetwork.cpp).
    bool lockstepping() const;
    void networkSays(const std::string& line);
    bool processNetworkCommand(const std::string& word, std::istream& in);
    bool sendsOverNetwork(const std::string& command);
    void pollNetwork(float elapsedSeconds);
    void beginNetworkWorld();
    void clearWorld();
    void endNetworkGame(const std::string& line);
    void runNetworkSteps(float dtSeconds);
    void sayNetworkState();
    void applyNetworkAction(const LockstepAction& action);
    void applyCommand(const Command& command);
    void dealNetworkSeats();
    void applyShot(std::uint8_t machine, const ShotMessage& shot);
    void setCurrentAim(float turretDegrees, float barrelDegrees);
    void applyMachineGone(std::uint8_t machine);
    void giveToComputer(std::uint32_t tankId);
    bool watchTurn();
    TankObject* tankById(std::uint32_t id);
    static void restoreAim(TankObject& tank, float turretDegrees, float barrelDegrees);
    bool personMayAct() const;
    void fireOverNetwork();
    void shareAim(float dtSeconds);
    void showAims();
    std::string turnOwner() const;
    std::vector<std::string> networkLines() const;
};
