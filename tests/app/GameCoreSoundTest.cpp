// The core's part of the sound: it tells the audio layer what happened, where,
// at the moment it happens. (Where the listener faces is heard in the real
// window: a burst on the left of the picture sounds on the left.)
#include "CoreFixture.h"
#include "world/Explosion.h"
#include "world/MIRVObject.h"

namespace {

class GameCoreSoundTest : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        leaveTitle();
        state->tankSkeleton = aimingSkeleton();
        state->sound.loadSounds(std::string(VANTRELL_GAME_DIR) + "/data/sounds/");
        flatten(0.25f); // ground at 50
    }

    // The sources started since the last call, as they stand now.
    std::vector<fakeal::Source> played() {
        std::vector<fakeal::Source> sounds;
        for (const std::vector<unsigned>& log = fakeal::state().played; seen < log.size(); ++seen)
            sounds.push_back(fakeal::state().sources.at(log[seen]));
        return sounds;
    }
    unsigned buffer(Cue cue) const { return state->sound.buffer(cue); }

    std::size_t seen = 0;
};

} // namespace

// One death leaves a winner, two in one update a draw; the result is announced,
// and heard, once until Esc clears the latch.
TEST_F(GameCoreSoundTest, DeathsAndTheResultAreHeardOnceEachWhenAnnounced) {
    for (const auto& [dying, result] : {std::pair{1, Cue::win}, std::pair{2, Cue::draw}}) {
        SCOPED_TRACE(dying);
        newGame(2);
        state->messageShown = false;
        update(0.0f);
        played();
        const Vector3 first = state->tanks.front()->position;
        for (int i = 0; i < dying; ++i)
            (*std::next(state->tanks.begin(), i))->health = 0.0f;
        update(0.0f);
        const std::vector<fakeal::Source> heard = played();
        ASSERT_EQ(heard.size(), std::size_t(dying + 1));
        EXPECT_EQ(heard[0].buffer, buffer(Cue::death));
        EXPECT_EQ(heard[0].position, first);
        EXPECT_EQ(heard.back().buffer, buffer(result));
        EXPECT_EQ(state->message, dying == 1 ? "Player 2 wins!" : "Draw Game");

        // Latched: nothing more until Esc clears the latch and it is announced again.
        update(0.0f);
        EXPECT_TRUE(played().empty());
        tap(keys::escape);
        update(0.0f);
        EXPECT_EQ(played().size(), 1u);
        tap(keys::escape);
    }
}

// The physics reports, the core passes it on: a burst at the explosion's centre
// when it goes off, a split where the carrier was, each once.
TEST_F(GameCoreSoundTest, BurstsAndSplitsInsideThePhysicsAreHeardWhereTheyHappen) {
    auto blast = std::make_unique<Explosion>(32.0f, 125.0f);
    blast->position = Vector3(60.0f, 50.0f, 70.0f);
    blast->radius = 31.99f;
    state->objects.push_back(std::move(blast));
    auto carrier = std::make_unique<MIRVObject>();
    carrier->position = Vector3(150.0f, 120.0f, 40.0f);
    carrier->velocity = Vector3(0.0f, -1.0f, 0.0f); // falling: it splits at once
    state->objects.push_back(std::move(carrier));
    state->messageShown = true; // no game: no result to announce
    update(0.1f);
    const std::vector<fakeal::Source> heard = played();
    ASSERT_EQ(heard.size(), 2u);
    // Updated back to front: the carrier, last in the list, splits first.
    EXPECT_EQ(heard[0].buffer, buffer(Cue::split));
    EXPECT_LT(length(heard[0].position - Vector3(150.0f, 120.0f, 40.0f)), 0.1f);
    EXPECT_EQ(heard[1].buffer, buffer(Cue::burst32));
    EXPECT_EQ(heard[1].position, Vector3(60.0f, 50.0f, 70.0f));
}
