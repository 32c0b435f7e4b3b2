// Networked play. Once a session has begun, the world changes only at physics
// steps every machine knows: the host's game commands, the shots and the
// machines that leave are applied before numbered steps, and the steps run as
// far as every machine has promised its actions. Everything else (the camera,
// the aim before the shot, the menus) stays local, so it may differ between
// machines without the worlds ever differing.
#include "app/GameCore.h"
#include "app/LiveNetworkLink.h"
#include "app/NetworkState.h"
#include "app/ReplayRecorder.h"
#include "app/ReplaySession.h"
#include "app/ReplayedNetworkLink.h"
#include "app/NetworkRecord.h"
#include "assets/PackSha256.h"
#include "assets/TraceSink.h"
#include "net/EnetTransport.h"
#include "net/WorldDigest.h"
#include "world/Object.h"
#include "world/Random.h"
#include "world/TankObject.h"
#include <algorithm>
#include <cmath>
#include <iterator>
#include <random>
#include <sstream>
#include <unistd.h>

namespace {

std::string machineHostName() {
    char name[64] = {};
    if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0')
        return "vantrell";
    std::string text(name);
    if (text.size() > 32)
        text.resize(32);
    return text;
}

// Port 0 is the host's "any free port", which it then names.
bool readPort(std::istream& in, std::uint16_t& port, bool anyAllowed) {
    long value = 0;
    if (!(in >> value))
        return true; // none given: the default stays
    if (value < (anyAllowed ? 0 : 1) || value > 65535)
        return false;
    port = static_cast<std::uint16_t>(value);
    return true;
}

// The commands that change the world: on a networked game they run on every
// machine at the same step.
bool changesWorld(const std::string& word) {
    return word == "terrain" || word == "tanks" || word == "computers";
}

std::uint32_t freshSeed() {
    std::random_device device;
    return device();
}

} // namespace

// On the console, and on standard error for whoever runs the game from a
// terminal (the trace on standard output stays the game's own).
void GameCore::networkSays(const std::string& line) {
    console.addLine(line);
    ErrorLine() << line;
}

bool GameCore::lockstepping() const {
    return network && networkBegun;
}

bool GameCore::processNetworkCommand(const std::string& word, std::istream& in) {
    if (word == "host" || word == "join") {
        if (network) {
            console.addLine("Already in a network game: \"leave\" first.");
            return true;
        }
        std::uint16_t port = EnetTransport::defaultPort;
        std::string address;
        if (word == "join" && !(in >> address)) {
            // Asked for the address: the console opens with the command typed.
            consoleOpen = true;
            console.setInputLine("join ");
            return true;
        }
        if (!readPort(in, port, word == "host")) {
            console.addLine(word + (word == "host" ? ": the port must be from 0 (any) to 65535"
                                                   : ": the port must be from 1 to 65535"));
            return true;
        }
        if (networkReplayed) {
            // The replay holds what the network gave; nothing is opened.
            auto replayed = std::make_unique<ReplayedNetworkLink>(word == "host");
            replayedLink = replayed.get();
            network = std::move(replayed);
            return true;
        }
        Hello self;
        self.gameVersion = ReplaySession::gameVersion();
        self.dataDigest = PackSha256::of("data");
        self.people = 1;
        self.name = machineHostName();
        std::string error;
        std::unique_ptr<NetSession> session = word == "host"
                                                  ? NetSession::host(port, self, error)
                                                  : NetSession::join(address, port, self, error);
        if (!session) {
            console.addLine(error); // the network has said it on standard error
            return true;
        }
        const std::uint16_t opened = session->port();
        network = std::make_unique<LiveNetworkLink>(std::move(session));
        networkSays(word == "host" ? "Hosting on port " + std::to_string(opened)
                                   : "Joining " + address + ":" + std::to_string(port));
        return true;
    }
    if (word == "leave") {
        if (!network) {
            console.addLine("Not in a network game.");
            return true;
        }
        endNetworkGame("Left the network game.");
        return true;
    }
    return false;
}

// On a networked game the world's commands travel instead of running here;
// each comes back as an action and runs on every machine at one step.
bool GameCore::sendsOverNetwork(const std::string& command) {
    if (!network || applyingNetworkCommand)
        return false;
    std::istringstream in(command);
    std::string word;
    in >> word;
    if (!changesWorld(word))
        return false;
    if (!network->isHost()) {
        console.addLine("Only the host starts games.");
        return true;
    }
    std::string text = command;
    text.erase(0, text.find_first_not_of(' '));
    text.erase(text.find_last_not_of(' ') + 1);
    if (!isCommandText(text)) {
        console.addLine("A network game cannot send this " + word + " command.");
        return true;
    }
    if (!network->beginning() && !network->begin(freshSeed())) {
        console.addLine("The network game could not begin.");
        return true;
    }
    network->command(text, freshSeed());
    return true;
}

// The network's clock is the frames' own time, uncut: a stall counts toward
// the others' silence as it should, and a test's frames are its seconds.
void GameCore::pollNetwork(float elapsedSeconds) {
    if (elapsedSeconds > 0.0f && std::isfinite(elapsedSeconds))
        networkClock += elapsedSeconds;
    network->poll(networkClock);
    for (const SessionEvent& event : network->takeEvents()) {
        switch (event.kind) {
        case SessionEvent::Kind::welcomed:
        case SessionEvent::Kind::lobby:
            if (!event.text.empty())
                networkSays(event.text);
            break;
        case SessionEvent::Kind::begun:
            beginNetworkWorld();
            break;
        case SessionEvent::Kind::refused:
        case SessionEvent::Kind::failed:
        case SessionEvent::Kind::hostGone:
            // The end comes at this update in the replay too. The session has
            // said on standard error what happened.
            if (recorder)
                recorder->record(ReplayEvent::network(NetworkRecord::ended(event.text)));
            if (event.kind == SessionEvent::Kind::hostGone ||
                (event.kind == SessionEvent::Kind::failed && networkBegun)) {
                clearWorld();
                message = "The host left: the game is over";
                messageShown = true;
            }
            endNetworkGame(event.text);
            return;
        }
    }
}

// Every machine starts the session from the same world: the same ground from
// the host's seed, nothing on it, the same settings and the object numbers
// from the start, since the trace shows them.
void GameCore::beginNetworkWorld() {
    const Begin* const begun = network->beginning();
    if (!begun)
        return;
    if (recorder)
        recorder->record(ReplayEvent::network(NetworkRecord::begin(*begun, network->machine())));
    clearWorld();
    Random::seed(begun->seed);
    terrain.flatten();
    terrain.generate(300, 0.25f, 0.75f);
    Object::restartIds();
    launchVelocity = 10.0f;
    velocityText = "10";
    currentWeapon = weapons.begin();
    seats.beginSession(begun->machines);
    stepBudget = 0.0f;
    turn = NetworkTurn();
    networkBegun = true;
    networkSays("The network game has begun: " + std::to_string(begun->machines.size()) +
                " machines");
}

void GameCore::clearWorld() {
    computers.clear();
    tanks.clear();
    currentTank = tanks.end();
    tankNodes.clear();
    objects.clear();
}

void GameCore::endNetworkGame(const std::string& line) {
    if (network)
        network->leave();
    network.reset();
    replayedLink = nullptr;
    networkBegun = false;
    desyncSaid = false;
    networkNotice.clear();
    if (!line.empty())
        console.addLine(line);
}

void GameCore::runNetworkSteps(float dtSeconds) {
    // A machine that waited catches up, a quarter of a second at most at once.
    stepBudget = std::min(stepBudget + dtSeconds, maxUpdateSeconds);
    int run = 0;
    while (stepBudget >= physics.timeStep && network->mayStep()) {
        for (const LockstepAction& action : network->takeActions())
            applyNetworkAction(action);
        WorldBox box = gameBox;
        physics.step(World{&objects, &box, &terrain, &marks});
        removeDeadTanks();
        announceResult();
        bool turnChanged = watchTurn();
        const std::string said =
            computers.update(playerView, tankControls, physics.timeStep, false);
        if (!said.empty())
            console.addLine(said);
        turnChanged = watchTurn() || turnChanged;
        network->stepped();
        if (network->digestDue() || turnChanged)
            network->digest(worldDigest(objects, terrain));
        stepBudget -= physics.timeStep;
        ++run;
    }
    if (recorder)
        recorder->record(ReplayEvent::network(NetworkRecord::stepsRun(static_cast<std::uint32_t>(run))));
    sayNetworkState();
}

void GameCore::sayNetworkState() {
    if (const auto desync = network->desyncStep()) {
        if (!desyncSaid) {
            desyncSaid = true;
            const std::string line = "The machines disagree at step " +
                                     std::to_string(*desync) + ": the network game stopped";
            console.addLine(line);
            ErrorLine() << line;
            if (recorder && !recorder->currentFile().empty())
                writeNetworkState(recorder->currentFile() + ".state", *desync, objects, terrain);
        }
        networkNotice = "The machines disagree: the game stopped";
        return;
    }
    const std::vector<std::uint8_t> waiting = network->waitingFor();
    if (waiting.empty()) {
        networkNotice.clear();
        return;
    }
    std::string names;
    for (const std::uint8_t machine : waiting)
        names += (names.empty() ? "" : ", ") + network->machineName(machine);
    networkNotice = "Waiting for " + names;
}

void GameCore::applyNetworkAction(const LockstepAction& action) {
    if (recorder)
        recorder->record(ReplayEvent::network(NetworkRecord::applied(action)));
    if (const ShotMessage* shot = std::get_if<ShotMessage>(&action.body))
        applyShot(action.machine, *shot);
    else if (const Command* command = std::get_if<Command>(&action.body))
        applyCommand(*command);
    else if (const MachineGone* gone = std::get_if<MachineGone>(&action.body))
        applyMachineGone(gone->machine);
    else if (const TankToComputer* handed = std::get_if<TankToComputer>(&action.body))
        giveToComputer(seats.tankAt(handed->tank));
}

void GameCore::applyCommand(const Command& command) {
    Random::seed(command.seed);
    applyingNetworkCommand = true;
    processCommand(command.text);
    applyingNetworkCommand = false;
}

// Called by newGame: the seats of the tanks just placed.
void GameCore::dealNetworkSeats() {
    std::vector<std::uint32_t> ids;
    for (const TankObject* tank : tanks)
        ids.push_back(tank->id);
    seats.deal(ids);
    turn = NetworkTurn();
}

// A shot is taken only from the machine that plays the tank whose turn it is;
// every machine decides that alike, so every machine drops the same shots.
void GameCore::applyShot(std::uint8_t machine, const ShotMessage& shot) {
    if (machine == network->machine())
        turn.shotPending = false;
    if (currentTank == tanks.end())
        return;
    const std::uint32_t id = seats.tankAt(shot.tank);
    if (id == 0 || (*currentTank)->id != id || seats.machineOf(id) != machine ||
        computers.plays(id) || shot.weapon >= weapons.size())
        return;
    currentWeapon = std::next(weapons.begin(), shot.weapon);
    launchVelocity = std::clamp(shot.velocity, 0.0f, 100.0f);
    velocityText = TankControls::wholeNumberText(launchVelocity);
    setCurrentAim(std::fmod(std::fabs(shot.turretDegrees), 360.0f),
                  std::clamp(shot.barrelDegrees, -90.0f, 0.0f));
    turn.shotTaken = true;
    tankControls.fire(personShotId++);
}

void GameCore::setCurrentAim(float turretDegrees, float barrelDegrees) {
    const auto turret = tankNodes.find("turret");
    const auto barrel = tankNodes.find("barrel");
    if (turret != tankNodes.end() && turret->second) {
        turret->second->rotate.y = turretDegrees;
        turretAngle = turretDegrees;
        angleText = TankControls::wholeNumberText(turretDegrees);
    }
    if (barrel != tankNodes.end() && barrel->second) {
        barrel->second->rotate.x = barrelDegrees;
        elevation = barrelDegrees;
        elevationText = TankControls::wholeNumberText(-std::trunc(barrelDegrees));
    }
}

void GameCore::applyMachineGone(std::uint8_t machine) {
    const bool current = currentTank != tanks.end() &&
                         seats.machineOf((*currentTank)->id) == machine;
    const std::vector<std::uint32_t> left = seats.leave(machine);
    // What it had aimed and not fired was only ever shown here: the computer
    // takes the turn from the aim every machine knows.
    if (current && !turn.shotTaken)
        setCurrentAim(turn.turret, turn.barrel);
    for (const std::uint32_t id : left)
        giveToComputer(id);
    networkSays(network->machineName(machine) + " left: its tanks passed to the computer");
}

void GameCore::giveToComputer(std::uint32_t tankId) {
    if (tankId != 0)
        computers.take(playerView, tankId);
}

// The turn's bookkeeping: an aim or setting a person changed and never fired
// is put back as every machine knows it, so the next player, the computer
// above all, starts alike everywhere. True when the turn changed.
bool GameCore::watchTurn() {
    const std::uint32_t id = currentTank == tanks.end() ? 0 : (*currentTank)->id;
    if (id == turn.tankId)
        return false;
    if (turn.tankId != 0 && !turn.shotTaken) {
        tankControls.restore(turn.settings);
        if (TankObject* const ended = tankById(turn.tankId))
            restoreAim(*ended, turn.turret, turn.barrel);
    }
    turn = NetworkTurn();
    turn.tankId = id;
    turn.settings = tankControls.settings();
    if (const Skeleton* turret = playerView.turret())
        turn.turret = turret->rotate.y;
    if (const Skeleton* barrel = playerView.barrel())
        turn.barrel = barrel->rotate.x;
    return true;
}

TankObject* GameCore::tankById(std::uint32_t id) {
    for (TankObject* tank : tanks)
        if (tank->id == id)
            return tank;
    return nullptr;
}

// Straight on the tank's own skeleton: it no longer has the turn, so its
// nodes are not the ones the controls hold.
void GameCore::restoreAim(TankObject& tank, float turretDegrees, float barrelDegrees) {
    std::vector<Skeleton*> pending{&tank.skeleton};
    while (!pending.empty()) {
        Skeleton* const node = pending.back();
        pending.pop_back();
        if (node->id == "turret")
            node->rotate.y = turretDegrees;
        else if (node->id == "barrel")
            node->rotate.x = barrelDegrees;
        for (Skeleton& child : node->children)
            pending.push_back(&child);
    }
}

bool GameCore::personMayAct() const {
    if (computers.playsTurn(playerView))
        return false;
    if (!lockstepping())
        return true;
    if (currentTank == tanks.end() || turn.shotPending)
        return false;
    return seats.machineOf((*currentTank)->id) == network->machine();
}

void GameCore::fireOverNetwork() {
    const TankObject* const tank = playerView.currentTank();
    const Skeleton* const turret = playerView.turret();
    const Skeleton* const barrel = playerView.barrel();
    const int number = tank ? seats.numberOf(tank->id) : -1;
    if (number < 0 || !turret || !barrel)
        return;
    ShotMessage shot;
    shot.tank = static_cast<std::uint8_t>(number);
    shot.turretDegrees = turret->rotate.y;
    shot.barrelDegrees = barrel->rotate.x;
    shot.velocity = launchVelocity;
    shot.weapon = static_cast<std::uint8_t>(std::distance(weapons.begin(), currentWeapon));
    network->fire(shot);
    turn.shotPending = true;
}

// The aim a person is making, shown on the others' screens now and then; the
// shot alone carries what counts.
void GameCore::shareAim(float dtSeconds) {
    aimClock += dtSeconds;
    if (!personMayAct() || aimClock < 0.1f)
        return;
    aimClock = 0.0f;
    const Skeleton* const turret = playerView.turret();
    const Skeleton* const barrel = playerView.barrel();
    const int number = seats.numberOf((*currentTank)->id);
    if (!turret || !barrel || number < 0)
        return;
    const AimMessage aim{static_cast<std::uint8_t>(number), turret->rotate.y, barrel->rotate.x,
                  launchVelocity};
    if (aim.turretDegrees == sentAim.turretDegrees && aim.barrelDegrees == sentAim.barrelDegrees &&
        aim.velocity == sentAim.velocity && aim.tank == sentAim.tank)
        return;
    sentAim = aim;
    network->aim(aim);
}

void GameCore::showAims() {
    for (const auto& [machine, aim] : network->takeAims()) {
        if (currentTank == tanks.end() || seats.tankAt(aim.tank) != (*currentTank)->id ||
            seats.machineOf((*currentTank)->id) != machine || turn.shotTaken)
            continue;
        if (!std::isfinite(aim.turretDegrees) || !std::isfinite(aim.barrelDegrees))
            continue;
        setCurrentAim(std::fmod(std::fabs(aim.turretDegrees), 360.0f),
                      std::clamp(aim.barrelDegrees, -90.0f, 0.0f));
        velocityText = TankControls::wholeNumberText(std::clamp(aim.velocity, 0.0f, 100.0f));
    }
}

// Whose turn it is, where it is not this machine's person's.
std::string GameCore::turnOwner() const {
    if (!lockstepping() || currentTank == tanks.end())
        return "";
    const std::uint32_t id = (*currentTank)->id;
    if (computers.plays(id))
        return "computer";
    const std::uint8_t machine = seats.machineOf(id);
    if (machine == network->machine())
        return "";
    return network->machineName(machine);
}

std::vector<std::string> GameCore::networkLines() const {
    if (!network || networkBegun)
        return {};
    std::vector<std::string> lines{network->isHost() ? "Hosting a network game"
                                                     : "In a network game's lobby"};
    for (const std::string& line : network->lobbyLines())
        lines.push_back(line);
    return lines;
}
