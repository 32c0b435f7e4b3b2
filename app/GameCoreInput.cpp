// Keyboard and mouse. Every key event goes to exactly one place: the title, the
// console toggle, Esc, the console, the menu, or the held-key table. Only the
// table sets keyDown, so keys typed into the console or the menu never start
// acting as held keys; a release always clears its key.
#include "app/GameCore.h"
#include "app/KeyCodes.h"
#include "assets/TraceSink.h"
#include "world/TankObject.h"
#include <cmath>

namespace {

constexpr double pi = 3.14159265358979323846;

} // namespace

void GameCore::routeKey(unsigned char key, bool down) {
    if (variable("keydump") != 0) {
        // The code's byte goes out unchanged, above 127 too.
        TraceLine() << (down ? "KEYDOWN: " : "KEYUP: ") << static_cast<int>(key) << " = '"
                    << static_cast<char>(key) << "'";
    }

    // The window hands a release over as the code its key went down as, however
    // Shift or Ctrl changed its character meanwhile.
    if (!down)
        consoleRepeat.release(key);

    // Any key on the title opens the main menu, Esc and backquote included.
    if (splashVisible && down && variable("menu") == 0) {
        variables["menu"] = 1;
        currentMenu = 0;
        return;
    }
    if (key == keys::backquote && down) {
        consoleOpen = !consoleOpen;
        if (!console.inputLine().empty())
            console.setInputLine("");
        return;
    }
    if (key == keys::escape && down) {
        messageShown = false;
        variables["menu"] = variable("menu") == 0 ? 1 : 0;
        currentMenu = 0;
        if (!menus.empty())
            menus[0].selected = 0;
        return;
    }
    if (consoleOpen && down) {
        editConsole(key);
        return;
    }
    if (variable("menu") != 0 && down && currentMenu >= 0 &&
        currentMenu < static_cast<int>(menus.size())) {
        navigateMenu(key);
        return;
    }

    keyDown[key] = down;
    if (!down)
        return;
    if (key == keys::left || key == keys::right || key == keys::up || key == keys::down ||
        key == keys::pageUp || key == keys::pageDown)
        cameraDirector.handOver();
    // The computer's tank is not a person's to arm or fire, nor another machine's.
    if (!personMayAct())
        return;
    if (key == keys::tab)
        tankControls.nextWeapon();
    else if (key == keys::space && lockstepping())
        fireOverNetwork();
    else if (key == keys::space)
        tankControls.fire(personShotId++);
}

void GameCore::editConsole(unsigned char key) {
    // Held, the editing keys type again after a pause; Enter never repeats.
    if (key == keys::backspace || (key >= keys::space && key <= 127))
        consoleRepeat.press(key);
    else
        consoleRepeat.stop();
    typeIntoConsole(key);
}

void GameCore::repeatConsoleKey(float dtSeconds) {
    if (!consoleOpen) {
        consoleRepeat.stop();
        return;
    }
    for (int n = consoleRepeat.advance(dtSeconds); n > 0; --n)
        typeIntoConsole(consoleRepeat.key());
}

void GameCore::typeIntoConsole(unsigned char key) {
    if (key == keys::backspace) {
        std::string text = console.inputLine();
        if (!text.empty()) {
            text.pop_back();
            console.setInputLine(text);
        }
    } else if (key == keys::enter) {
        // After a command the next Enter opens a fresh, empty input line to type into.
        const std::string text = console.inputLine();
        if (text.empty())
            return;
        console.commitInputLine();
        processCommands(text);
    } else if (key >= keys::space && key <= 127) {
        console.setInputLine(console.inputLine() + static_cast<char>(key));
    }
}

void GameCore::navigateMenu(unsigned char key) {
    Menu& menu = menus[currentMenu];
    const int optionCount = static_cast<int>(menu.options.size());
    const bool selectionValid = menu.selected >= 0 && menu.selected < optionCount;
    switch (key) {
    case keys::enter:
    case keys::lineFeed:
    case keys::space:
        if (selectionValid) {
            // A copy: the commands may switch menus under us.
            const std::string execute = menu.options[menu.selected].execute;
            processCommands(execute);
        }
        break;
    case keys::left:
        if (selectionValid) {
            MenuOption& option = menu.options[menu.selected];
            if (!option.choices.empty() && option.choice > 0)
                --option.choice;
        }
        break;
    case keys::right:
        if (selectionValid) {
            MenuOption& option = menu.options[menu.selected];
            if (!option.choices.empty() &&
                option.choice < static_cast<int>(option.choices.size()) - 1)
                ++option.choice;
        }
        break;
    case keys::up:
        if (menu.selected > 0)
            --menu.selected;
        break;
    case keys::down:
        if (menu.selected < optionCount - 1)
            ++menu.selected;
        break;
    default:
        break; // the menu swallows every other key
    }
}

void GameCore::routeMouse(bool buttonDown, float dx, float dy) {
    // A drag across the whole window turns the view by 90 degrees.
    if (buttonDown) {
        cameraDirector.handOver();
        cameraRotation.x -= dy * 90.0f;
        cameraRotation.y -= dx * 90.0f;
    }
    if (cameraRotation.x > 360.0f)
        cameraRotation.x -= 360.0f;
    if (cameraRotation.y > 360.0f)
        cameraRotation.y -= 360.0f;
}

GameCore::HeldKeyRates GameCore::heldKeyRates(float dtSeconds) const {
    const float speed = 4.0f * dtSeconds;
    const double yaw = cameraRotation.y * pi / 180.0;
    return HeldKeyRates{speed, TankControls::degreesPerSecond * dtSeconds,
                        static_cast<float>(std::sin(yaw) * speed),
                        static_cast<float>(std::cos(yaw) * speed)};
}

void GameCore::heldKeyStep(const HeldKeyRates& rates, float dtSeconds) {
    flyCamera(rates, dtSeconds);

    // The light moves by a fixed step per update, whatever the frame rate.
    if (held('j'))
        lightPosition.x -= 0.1f;
    if (held('l'))
        lightPosition.x += 0.1f;
    if (held('i'))
        lightPosition.z -= 0.1f;
    if (held('k'))
        lightPosition.z += 0.1f;
    if (held('u'))
        lightPosition.y += 0.1f;
    if (held('o'))
        lightPosition.y -= 0.1f;

    // A person's aiming keys never move the computer's tank: one held when the
    // turn passed waits for the next person's turn.
    const bool personAims = personMayAct();
    if (personAims) {
        if (held('a'))
            tankControls.turnTurret(rates.rate);
        if (held('d'))
            tankControls.turnTurret(-rates.rate);
        if (held('w'))
            tankControls.raiseBarrel(rates.rate);
        if (held('s'))
            tankControls.raiseBarrel(-rates.rate);
    }
    tankControls.changeVelocity(personAims && held('r'), personAims && held('f'), rates.rate);

    if (currentTank != tanks.end())
        healthText = TankControls::wholeNumberText((*currentTank)->health);
}

// cameraVelocity is a displacement per update, damped every update, so the flight
// speed settles at about one unit per frame.
void GameCore::flyCamera(const HeldKeyRates& rates, float dtSeconds) {
    if (held(keys::left)) {
        cameraVelocity.z -= rates.sinStep;
        cameraVelocity.x -= rates.cosStep;
    }
    if (held(keys::right)) {
        cameraVelocity.z += rates.sinStep;
        cameraVelocity.x += rates.cosStep;
    }
    if (held(keys::up)) {
        cameraVelocity.z -= rates.cosStep;
        cameraVelocity.x += rates.sinStep;
    }
    if (held(keys::down)) {
        cameraVelocity.z += rates.cosStep;
        cameraVelocity.x -= rates.sinStep;
    }
    if (held(keys::pageUp))
        cameraVelocity.y += rates.speed;
    if (held(keys::pageDown))
        cameraVelocity.y -= rates.speed;

    cameraPosition += cameraVelocity;
    cameraVelocity -= cameraVelocity * (4.0f * dtSeconds);

    // Stay over the terrain's footprint.
    if (cameraPosition.x < 0.0f)
        cameraPosition.x = 0.0f;
    if (cameraPosition.z < 0.0f)
        cameraPosition.z = 0.0f;
    if (cameraPosition.x > worldSize)
        cameraPosition.x = worldSize;
    if (cameraPosition.z > worldSize)
        cameraPosition.z = worldSize;

    // Keep 2 units above the grid point under the camera; the ceiling wins.
    const Vector3& size = terrain.size();
    const double width = terrain.width();
    const double height = terrain.height();
    double column = static_cast<double>(cameraPosition.x) / size.x * width;
    double row = static_cast<double>(cameraPosition.z) / size.z * height;
    // Clamped as doubles so that no value, not even a NaN, reaches the conversion.
    if (!(column >= 0.0))
        column = 0.0;
    if (!(row >= 0.0))
        row = 0.0;
    if (column >= width)
        column = width - 1.0;
    if (row >= height)
        row = height - 1.0;
    const float ground =
        terrain.heightAt(static_cast<std::uint32_t>(column), static_cast<std::uint32_t>(row)) +
        2.0f;
    if (cameraPosition.y < ground)
        cameraPosition.y = ground;
    if (cameraPosition.y > worldSize)
        cameraPosition.y = worldSize;
}

int GameCore::variable(const std::string& name) const {
    const auto found = variables.find(name);
    return found == variables.end() ? 0 : found->second;
}

// After everything that moves tanks and shells, so the camera frames where they
// are now. A camera key held, or a drag, gives the camera to the person.
void GameCore::directCamera(float dtSeconds) {
    if (variable("follow") == 0)
        return;
    bool steering = false;
    for (const unsigned char key :
         {keys::left, keys::right, keys::up, keys::down, keys::pageUp, keys::pageDown})
        steering = steering || held(key);
    // The free camera's drift would fight the director's glide.
    if (cameraDirector.update(playerView, cameraPosition, cameraRotation, dtSeconds, steering))
        cameraVelocity = Vector3(0.0f, 0.0f, 0.0f);
}
