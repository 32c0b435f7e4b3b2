#include "app/ReplayPlayer.h"
#include "app/GameCore.h"
#include "app/KeyCodes.h"
#include "assets/TraceSink.h"
#include <algorithm>
#include <cmath>

ReplayPlayer::ReplayPlayer(GameCore& core, ReplayReader& reader, bool asFastAsPossible)
    : game(core), replay(reader), fast(asFastAsPossible) {}

void ReplayPlayer::seekToGame() {
    if (!replay.hasGameStart())
        return;
    TraceSink::Listen silence([](TraceSink::Stream, const std::string&) {}, true);
    game.setSoundMuted(true);
    ReplayEvent event;
    while (replay.next(event) && event.kind != ReplayEvent::Kind::gameStart)
        apply(event);
    game.setSoundMuted(false);
    clock.reset();
}

void ReplayPlayer::idle() {
    if (state != State::playing)
        return;
    if (fast) {
        const Timer frame;
        while (frame.elapsed() < fastFrameSeconds)
            if (!step())
                return finish();
        return;
    }
    // At the game's own pace: an update is played once the wall clock has
    // caught up with the game time before it.
    while (playedSeconds <= clock.elapsed())
        if (!step())
            return finish();
}

bool ReplayPlayer::step() {
    ReplayEvent event;
    while (replay.next(event)) {
        apply(event);
        if (event.kind == ReplayEvent::Kind::update)
            return true;
    }
    return false;
}

void ReplayPlayer::apply(const ReplayEvent& event) {
    switch (event.kind) {
    case ReplayEvent::Kind::update:
        game.update(event.seconds);
        // The pace follows the time the update simulated, not a stall before it.
        playedSeconds += std::min(event.seconds, GameCore::maxUpdateSeconds);
        return;
    case ReplayEvent::Kind::key:
        game.keyboard(event.key, event.down, event.modifiers);
        return;
    case ReplayEvent::Kind::mouse:
        game.mouseMotion(event.down, event.x, event.y, event.dx, event.dy);
        return;
    case ReplayEvent::Kind::reshape:
        game.reshape(event.width, event.height);
        return;
    case ReplayEvent::Kind::gameStart:
        return; // a second start is the recorder's fault; the game goes on
    case ReplayEvent::Kind::network:
        game.replayNetwork(event.bytes);
        return;
    }
}

void ReplayPlayer::finish() {
    state = State::finished;
    game.setNotice("Replay finished");
    ErrorLine() << "Replay finished";
}

void ReplayPlayer::liveKey(unsigned char key, bool down) {
    if (key != keys::escape || !down || state == State::handedOver)
        return;
    state = State::handedOver;
    game.setNotice("");
    game.setNetworkReplayed(false);
    game.openMenu();
}
