// Particle systems stepped by hand on the scope clock: the document, spawning, keys, motion, the
// pool and its limits, delays and the scheduling that starts and stops a system.
#include "ParticleFixture.h"

#include "platform/CDrawings.h"
#include "platform/CGesture.h"
#include "scene/CParticles.h"
#include "scene/TrailFeedback.h"

#include <cmath>

namespace
{
class ParticlesTest : public ParticleFixture
{
  protected:
    // Moves the clock by ms and updates the system with that step.
    void Step(CParticles& system, int32_t ms)
    {
        Advance(ms);
        system.Update(float(ms) * 0.001f);
    }
    // A live particle's quad, as the batch holds it.
    static Vector4<float> RectOf(const CParticles& system, int32_t slot)
    {
        return system.GetBatch().GetQuadRect(uint32_t(slot));
    }
    static Vector4<float> ColourOf(const CParticles& system, int32_t slot)
    {
        return system.GetBatch().GetQuadColour(uint32_t(slot));
    }
};

// Long-lived particles: one key that takes a second to fade in.
const char* const kSlowKey = "<animation><key tick=\"1000\" a=\"1\" radius=\"1\"/></animation>";
} // namespace

TEST_F(ParticlesTest, TheDocumentGivesTheSystemItsRules)
{
    WriteParticles(
        std::string("<full draw=\"knobs\" space=\"screen\" poolsize=\"3\">"
                    "<spawn radius=\"0.5,2\" frequency=\"4,2\" velocity=\"3\" rotvel=\"1,2\"/>"
                    "<appearance material=\"particle\"><frame uvs=\"0,0,0.5\"/><frame uvs=\"#ff000080\"/>"
                    "<frame/></appearance>"
                    "<animation><key tick=\"100,200\" a=\"0.5,1\"/><key frame=\"2\"/></animation></full>"
                    "<slow><spawn frequency=\"2,4\"/></slow>"
                    "<burst><spawn frequency=\"0,2000\"/></burst>"));
    CRef<CParticles> full = CParticles::Create("full");
    EXPECT_EQ(full->GetName(), "full");
    EXPECT_EQ(full->GetPoolSize(), 3);
    EXPECT_TRUE(full->IsScreenSpace());
    EXPECT_EQ(full->GetSpawnInterval(), Vector2<int32_t>(250, 500));
    ASSERT_EQ(full->GetFrames().size(), 3u);
    EXPECT_EQ(full->GetFrames()[0], Vector4<float>(0.0f, 0.0f, 0.5f, 0.5f));
    EXPECT_NEAR(full->GetFrames()[1].x, 1.0f, 1e-6f);
    EXPECT_NEAR(full->GetFrames()[1].w, 128.0f / 255.0f, 1e-6f);
    EXPECT_EQ(full->GetFrames()[2], Vector4<float>(0.0f, 0.0f, 1.0f, 1.0f));
    ASSERT_EQ(full->GetKeys().size(), 2u);
    EXPECT_EQ(full->GetKeys()[0].tick, Vector2<int32_t>(100, 200));
    EXPECT_EQ(full->GetKeys()[0].a, Vector2<float>(0.5f, 1.0f));
    EXPECT_EQ(full->GetKeys()[0].r, Vector2<float>(-1.0f, -1.0f));
    EXPECT_EQ(full->GetKeys()[1].tick, Vector2<int32_t>(-1, -1));
    EXPECT_EQ(full->GetKeys()[1].frame, Vector2<int32_t>(2, 2));
    CDrawings& drawings = m_game->GetCurrentScope().GetDrawings();
    EXPECT_TRUE(full->IsRegistered());
    EXPECT_EQ(drawings.CountInPass("knobs"), 1);

    // The first frequency gives the first bound: "2,4" waits a constant 500 ms.
    CRef<CParticles> slow = CParticles::Create("slow");
    EXPECT_EQ(slow->GetSpawnInterval(), Vector2<int32_t>(500, 250));
    EXPECT_FALSE(slow->IsScreenSpace());
    EXPECT_EQ(slow->GetPoolSize(), CParticles::kDefaultPoolSize);
    EXPECT_EQ(drawings.CountInPass("ui"), 1);
    CRef<CParticles> burst = CParticles::Create("burst");
    EXPECT_EQ(burst->GetSpawnInterval(), Vector2<int32_t>(0, 0));

    // A missing element keeps the defaults and draws nowhere; a dying system leaves its pass.
    CRef<CParticles> missing = CParticles::Create("absent");
    EXPECT_FALSE(missing->IsRegistered());
    EXPECT_EQ(missing->GetPoolSize(), CParticles::kDefaultPoolSize);
    EXPECT_TRUE(missing->GetKeys().empty());
    EXPECT_TRUE(missing->EmitAt(Vector2<float>(1, 1), 0.0f));
    EXPECT_EQ(missing->CountAlive(), 0) << "without keys a particle dies at birth";
    full.Reset();
    EXPECT_EQ(drawings.CountInPass("knobs"), 0);
}

TEST_F(ParticlesTest, ContinuousEmissionKeepsThePoolFullAndReusesTheLowestSlot)
{
    WriteParticles("<steady poolsize=\"4\"><spawn frequency=\"10\" radius=\"0\"/>"
                   "<animation><key tick=\"450\" a=\"1\"/></animation></steady>");
    CRef<CParticles> system = CParticles::Create("steady");
    system->SetEmitting(true);
    EXPECT_TRUE(system->IsActive());
    system->Update(0.0f);
    EXPECT_EQ(system->CountAlive(), 1);
    for (int32_t ms = 50; ms <= 400; ms += 50)
        Step(*system, 50);
    EXPECT_EQ(system->CountAlive(), 4);
    EXPECT_EQ(system->GetNextSpawnTime(), 400) << "full: the next spawn waits, it does not pile up";

    // At 450 ms the first particle dies and its slot is refilled in the same step.
    Step(*system, 50);
    EXPECT_EQ(system->CountAlive(), 4);
    EXPECT_EQ(system->GetPool()[0].segmentStart, 450);
    for (int32_t i = 0; i < 40; ++i)
    {
        Step(*system, 50);
        EXPECT_EQ(system->CountAlive(), 4);
    }
    EXPECT_EQ(system->GetPool().size(), 4u);
    EXPECT_EQ(system->GetBatch().GetQuadCount(), 4u);

    // Switched off, the particles play out and the system stops itself.
    system->SetEmitting(false);
    for (int32_t i = 0; i < 10; ++i)
        Step(*system, 50);
    EXPECT_EQ(system->CountAlive(), 0);
    EXPECT_FALSE(system->IsActive());
    EXPECT_EQ(RectOf(*system, 0), Vector4<float>(0, 0, 0, 0));
    EXPECT_EQ(ColourOf(*system, 0), Vector4<float>(0, 0, 0, 0));
}

TEST_F(ParticlesTest, ABurstFillsThePoolAtOnceAndGoesOff)
{
    WriteParticles(std::string("<splash poolsize=\"5\">") + kSlowKey + "</splash>" +
                   "<huge poolsize=\"3\"><spawn frequency=\"2000\"/>" + kSlowKey + "</huge>" +
                   "<keyless poolsize=\"99999999999\"/>");
    // Particles without keys die as they are born: the burst still ends, after one pool.
    CRef<CParticles> keyless = CParticles::Create("keyless");
    EXPECT_EQ(keyless->GetPoolSize(), CParticles::kMaxPoolSize);
    keyless->SetEmitting(true);
    EXPECT_EQ(keyless->CountAlive(), 0);
    for (const char* name : {"splash", "huge"})
    {
        CRef<CParticles> system = CParticles::Create(name);
        system->SetEmitting(true);
        EXPECT_EQ(system->CountAlive(), system->GetPoolSize()) << name;
        EXPECT_FALSE(system->IsEmitting()) << name;
        // Again: every particle starts over rather than the pool growing.
        Step(*system, 100);
        system->SetEmitting(true);
        EXPECT_EQ(system->CountAlive(), system->GetPoolSize()) << name;
        for (const ParticleSlot& slot : system->GetPool())
            EXPECT_EQ(slot.segmentStart, system->Now()) << name;
    }
}

TEST_F(ParticlesTest, SpawnIntervalsFollowTheFrequencyRange)
{
    WriteParticles(std::string("<even poolsize=\"100\"><spawn frequency=\"2,4\"/>") + kSlowKey + "</even>" +
                   "<uneven poolsize=\"100\"><spawn frequency=\"4,2\"/>" + kSlowKey + "</uneven>");
    CRef<CParticles> even = CParticles::Create("even");
    even->SetEmitting(true);
    CRef<CParticles> uneven = CParticles::Create("uneven");
    uneven->SetEmitting(true);
    int32_t evenLast = even->GetNextSpawnTime();
    int32_t unevenLast = uneven->GetNextSpawnTime();
    bool differs = false;
    int32_t evenSpawns = 0;
    for (int32_t ms = 0; ms < 5000; ms += 10)
    {
        even->Update(0.01f);
        uneven->Update(0.01f);
        if (even->GetNextSpawnTime() != evenLast)
        {
            EXPECT_EQ(even->GetNextSpawnTime() - evenLast, 500);
            ++evenSpawns;
            evenLast = even->GetNextSpawnTime();
        }
        if (uneven->GetNextSpawnTime() != unevenLast)
        {
            const int32_t wait = uneven->GetNextSpawnTime() - unevenLast;
            EXPECT_GE(wait, 250);
            EXPECT_LE(wait, 500);
            differs = differs || wait != 250;
            unevenLast = uneven->GetNextSpawnTime();
        }
        Advance(10);
    }
    EXPECT_TRUE(differs);
    EXPECT_EQ(evenSpawns, 10) << "one spawn every 500 ms over 5 s";
}

TEST_F(ParticlesTest, KeysAnimateColourRadiusAndFrame)
{
    WriteParticles(
        "<fade><spawn radius=\"0\"/>"
        "<animation><key tick=\"500\" a=\"1\"/></animation></fade>"
        "<alpha><spawn radius=\"0\"/>"
        "<animation><key a=\"0.7\"/><key tick=\"1000\" radius=\"2\"/></animation></alpha>"
        "<frames><spawn radius=\"0\"/><appearance><frame uvs=\"0,0,0.5,0.5\"/><frame uvs=\"0.5,0.5,1,1\"/>"
        "</appearance><animation><key tick=\"100\" frame=\"1\" a=\"1\"/><key tick=\"100\" frame=\"5\"/>"
        "</animation></frames>");
    CParticles::SetGravity(Vector2<float>(0, 0));

    // One key of half a second fades in from nothing and the particle dies at its end.
    CRef<CParticles> fade = CParticles::Create("fade");
    fade->EmitAt(Vector2<float>(3, 4), 0.0f);
    Step(*fade, 250);
    EXPECT_NEAR(ColourOf(*fade, 0).w, 0.5f, 1e-6f);
    EXPECT_EQ(ColourOf(*fade, 0).x, 0.0f);
    EXPECT_EQ(RectOf(*fade, 0), Vector4<float>(3, 4, 3, 4));
    Step(*fade, 250);
    EXPECT_EQ(fade->CountAlive(), 0);
    EXPECT_EQ(ColourOf(*fade, 0), Vector4<float>(0, 0, 0, 0));

    // A key without "tick" sets its values at once; what it leaves out stays.
    CRef<CParticles> alpha = CParticles::Create("alpha");
    alpha->EmitAt(Vector2<float>(0, 0), 0.0f);
    Step(*alpha, 500);
    const Vector4<float> colour = ColourOf(*alpha, 0);
    EXPECT_NEAR(colour.w, 0.7f, 1e-6f);
    EXPECT_EQ(colour.x + colour.y + colour.z, 0.0f);
    EXPECT_NEAR(RectOf(*alpha, 0).z, 1.002f, 1e-5f) << "501 ms into 1000: the first key took -1 ms";

    // Frames step with the key, truncated; one beyond the list leaves the uvs alone.
    CRef<CParticles> frames = CParticles::Create("frames");
    frames->EmitAt(Vector2<float>(0, 0), 0.0f);
    const QuadBatch& batch = frames->GetBatch();
    Step(*frames, 50);
    EXPECT_EQ(batch.GetQuadUv(0, 0), Vector4<float>(0, 0, 0.5f, 0.5f));
    Step(*frames, 60);
    EXPECT_EQ(batch.GetQuadUv(0, 0), Vector4<float>(0.5f, 0.5f, 1, 1));
    Step(*frames, 50);
    EXPECT_EQ(frames->GetPool()[0].startFrame, 1);
    EXPECT_EQ(batch.GetQuadUv(0, 0), Vector4<float>(0.5f, 0.5f, 1, 1)) << "frame 3 is not in the list";
    CParticles::SetGravity(Vector2<float>(0, 1));
}

TEST_F(ParticlesTest, ParticlesFlyOutAndDragAndGravityActOnThem)
{
    WriteParticles(
        std::string("<ring poolsize=\"50\"><spawn radius=\"1,2\" velocity=\"3\"/>") + kSlowKey + "</ring>" +
        "<stop><spawn radius=\"0\" velocity=\"3\"/><behaviour drag=\"2\"/>" + kSlowKey + "</stop>" +
        "<slow><spawn radius=\"0\" velocity=\"3\"/><behaviour drag=\"0.5\"/>" + kSlowKey + "</slow>");
    CRef<CParticles> ring = CParticles::Create("ring");
    const Vector2<float> emitter(5, 5);
    for (int32_t i = 0; i < 50; ++i)
        ASSERT_TRUE(ring->EmitAt(emitter, 0.0f));
    for (const ParticleSlot& slot : ring->GetPool())
    {
        const Vector2<float> out = slot.position - emitter;
        EXPECT_GE(out.Length(), 1.0f - 1e-5f);
        EXPECT_LE(out.Length(), 2.0f + 1e-5f);
        EXPECT_NEAR(slot.velocity.Length(), 3.0f, 1e-5f);
        EXPECT_NEAR(Dot(out, slot.velocity), out.Length() * 3.0f, 1e-4f) << "straight out from the emitter";
    }

    // Drag 2 over 0.6 s would reverse the velocity: it is clamped, leaving gravity alone.
    CRef<CParticles> stop = CParticles::Create("stop");
    stop->EmitAt(Vector2<float>(0, 0), 0.0f);
    Step(*stop, 600);
    EXPECT_NEAR(stop->GetPool()[0].velocity.x, 0.0f, 1e-6f);
    EXPECT_NEAR(stop->GetPool()[0].velocity.y, 0.6f, 1e-6f);
    EXPECT_NEAR(stop->GetPool()[0].position.y, 0.36f, 1e-6f);

    CRef<CParticles> slow = CParticles::Create("slow");
    slow->EmitAt(Vector2<float>(0, 0), 0.0f);
    const Vector2<float> v0 = slow->GetPool()[0].velocity;
    Step(*slow, 100);
    EXPECT_NEAR(slow->GetPool()[0].velocity.x, v0.x * 0.95f, 1e-5f);
    EXPECT_NEAR(slow->GetPool()[0].velocity.y, v0.y * 0.95f + 0.1f, 1e-5f);
}

TEST_F(ParticlesTest, EmitAtDelaysBirthAndFailsWhenThePoolIsFull)
{
    WriteParticles(std::string("<two poolsize=\"2\"><spawn radius=\"0\" velocity=\"1\"/>"
                               "<animation><key tick=\"500\" a=\"1\" radius=\"1\"/></animation></two>"));
    CRef<CParticles> system = CParticles::Create("two");
    EXPECT_FALSE(system->IsActive());
    EXPECT_TRUE(system->EmitAt(Vector2<float>(2, 2), 0.25f));
    EXPECT_TRUE(system->IsActive());
    EXPECT_EQ(system->GetEmitter(), Vector2<float>(2, 2));
    const ParticleSlot before = system->GetPool()[0];
    EXPECT_EQ(before.segmentStart, 250);
    for (int32_t i = 0; i < 2; ++i)
    {
        Step(*system, 100);
        EXPECT_EQ(system->GetPool()[0].position, before.position) << "unborn particles do not move";
        EXPECT_EQ(RectOf(*system, 0), Vector4<float>(0, 0, 0, 0));
    }
    Step(*system, 100);
    EXPECT_NE(system->GetPool()[0].position, before.position);
    EXPECT_GT(RectOf(*system, 0).z, RectOf(*system, 0).x);

    EXPECT_TRUE(system->EmitAt(Vector2<float>(4, 4), 0.0f));
    EXPECT_FALSE(system->EmitAt(Vector2<float>(6, 6), 0.0f)) << "pool of two";
    EXPECT_EQ(system->CountAlive(), 2);
    EXPECT_EQ(system->GetPool().size(), 2u);

    // The first dies at 750 ms, the second lives until 800; the lowest slot takes the next one.
    Step(*system, 460);
    EXPECT_EQ(system->CountAlive(), 1);
    EXPECT_TRUE(system->EmitAt(Vector2<float>(6, 6), 0.0f));
    EXPECT_EQ(system->GetPool()[0].segmentStart, 760);
    EXPECT_TRUE(system->GetPool()[1].alive);
    Step(*system, 600);
    EXPECT_EQ(system->CountAlive(), 0);
    EXPECT_FALSE(system->IsActive()) << "nothing alive and not emitting: the update stops";
}

TEST_F(ParticlesTest, TheSchedulerRunsTheSystemOnItsClock)
{
    WriteParticles(std::string("<fizz poolsize=\"4\"><spawn frequency=\"50\"/>") + kSlowKey + "</fizz>");
    CRef<CParticles> system = CParticles::Create("fizz");
    Advance(300);
    system->SetEmitting(true);
    EXPECT_EQ(system->Now(), m_game->GetTime());
    EXPECT_EQ(system->GetNextSpawnTime(), 300);
    CScheduler& scheduler = Current();
    EXPECT_TRUE(scheduler.IsScheduled(system.Get()));
    for (int32_t i = 0; i < 10; ++i)
    {
        m_clock.Advance(20);
        scheduler.Update();
    }
    EXPECT_EQ(system->CountAlive(), 4);
    system->SetEmitting(false);
    for (int32_t i = 0; i < 80; ++i)
    {
        m_clock.Advance(20);
        scheduler.Update();
    }
    EXPECT_EQ(system->CountAlive(), 0);
    EXPECT_FALSE(scheduler.IsScheduled(system.Get()));
}

TEST_F(ParticlesTest, TheSwipeTrailLivesInTheGlobalScope)
{
    WriteParticles(std::string("<trail space=\"screen\" poolsize=\"6\">") + kSlowKey + "</trail>");
    // Installing the trail keeps whatever sound hook is there (other tests may have replaced the
    // hooks this unit installed at start-up, so install afresh).
    CGesture::FeedbackHooks sound;
    sound.playSound = [](const char*) {};
    const CGesture::FeedbackHooks previous = CGesture::SetFeedbackHooks(sound);
    TrailFeedback::Install();
    const CGesture::FeedbackHooks installed = CGesture::SetFeedbackHooks(previous);
    EXPECT_EQ(installed.makeTrail, &TrailFeedback::MakeTrail);
    EXPECT_EQ(installed.capacityOf, &TrailFeedback::CapacityOf);
    EXPECT_EQ(installed.emitAt, &TrailFeedback::EmitAt);
    EXPECT_EQ(installed.playSound, sound.playSound);

    CRef<CBase> trail = TrailFeedback::MakeTrail();
    EXPECT_EQ(TrailFeedback::CapacityOf(trail.Get()), 6);
    EXPECT_EQ(m_game->GetGlobalScope().GetDrawings().CountInPass("ui"), 1);
    EXPECT_EQ(m_game->GetCurrentScope().GetDrawings().CountInPass("ui"), 0);
    TrailFeedback::EmitAt(trail.Get(), Vector2<float>(100, 200), 0.0f);
    const CParticles* particles = static_cast<CParticles*>(trail.Get());
    EXPECT_EQ(particles->CountAlive(), 1);
    EXPECT_TRUE(m_game->GetGlobalScope().GetScheduler().IsScheduled(particles));
    EXPECT_EQ(TrailFeedback::CapacityOf(m_game), 0) << "not a particle system";
}

TEST_F(ParticlesTest, TheShippedEffectsLoad)
{
    m_folder.WriteData("particles.xml",
                       TempFolder::ReadFile(std::string(FROG_SOURCE_DIR) + "/data/particles.xml"));
    for (const char* name : {"fizz", "splash", "trail"})
    {
        CRef<CParticles> system = CParticles::Create(name);
        EXPECT_TRUE(system->IsRegistered()) << name;
        EXPECT_FALSE(system->GetKeys().empty()) << name;
        EXPECT_FALSE(system->GetFrames().empty()) << name;
        EXPECT_GT(system->GetPoolSize(), 1) << name;
    }
    EXPECT_GE(CParticles::Create("fizz")->GetSpawnInterval().y, 1) << "the fizz runs continuously";
    EXPECT_LT(CParticles::Create("splash")->GetSpawnInterval().y, 1) << "the splash is a burst";
    EXPECT_TRUE(CParticles::Create("trail")->IsScreenSpace());
}
