#pragma once
// A named sprite particle system from the document "particles": a pool of at most poolsize
// particles spawned around an emitter, moved with drag and gravity, animated through the keys and
// drawn as one quad batch (quad i belongs to pool slot i; a dead slot's quad is empty).
// Invariants: the pool never grows beyond poolsize; every time it uses (spawns, births, keys)
// comes from one scope clock, that of the scheduler running its update; it is scheduled only
// while it emits or a particle lives, and stops itself when neither holds.
#include "Graphics/QuadBatch.h"
#include "core/CBase.h"
#include "core/CLink.h"
#include "core/CRef.h"
#include "core/CString.h"
#include "core/CUpdate.h"
#include "core/Vector2.h"
#include "core/Vector4.h"
#include "platform/CDrawing.h"
#include "scene/ParticleKey.h"
#include "scene/ParticleSlot.h"

#include <cstdint>
#include <vector>

class CScheduler;

class CParticles : public CBase, public CDrawing, public CUpdate
{
  public:
    static constexpr int32_t kDefaultPoolSize = 8;
    // Every slot is a quad drawn each frame.
    static constexpr int32_t kMaxPoolSize = 1024;
    static constexpr int32_t kMaxKeyMs = 60000;

    // A new system loaded from the element of that name; it draws in its pass of the current
    // scope and runs on the current scope's scheduler. Never null: a missing effect makes an
    // inert system (pool of 8, no keys, not drawn).
    static CRef<CParticles> Create(const CString& name);
    // The same, bound to the named scope: drawn, updated and timed there whichever mode is
    // current (the swipe trail, made once, lives in "global" so that it shows in every mode).
    static CRef<CParticles> CreateIn(const CString& name, const char* scopeName);
    ~CParticles() override;

    // Reads the element name of "particles" (frames and keys emptied first), sets the material and
    // joins the drawing pass "draw" when not yet in one. A missing document or element reads
    // nothing more.
    void Load(const CString& name);

    // On: schedules the update and starts spawning from now; a burst system (no spawn interval
    // of 1 ms or more) instead fills its whole pool at once and goes off again. Off: no more
    // spawns; living particles play out. No change, no effect.
    void SetEmitting(bool on);
    // Schedules the update, moves the emitter to point and spawns one particle born after
    // delaySeconds (whole milliseconds; a negative delay is a head start into its life). False,
    // nothing spawned, when the pool is full.
    bool EmitAt(const Vector2<float>& point, float delaySeconds);
    // Where the system is drawn: the batch's x and y translation (drawing units).
    void SetTranslation(const Vector2<float>& translation);

    // Screen-space systems draw under a pixel view of the whole screen, others in the current view.
    void Draw() override;
    // One step at the scope clock: every particle, then the spawns that fell due. dt in seconds.
    void Update(float dt) override;

    const CString& GetName() const { return m_name; }
    // The most particles alive at once (the swipe trail emits half of it per swipe).
    int32_t GetPoolSize() const { return m_poolSize; }
    bool IsEmitting() const { return m_emitting; }
    bool IsScreenSpace() const { return m_screenSpace; }
    int32_t CountAlive() const;
    const std::vector<ParticleSlot>& GetPool() const { return m_pool; }
    const std::vector<ParticleKey>& GetKeys() const { return m_keys; }
    const std::vector<Vector4<float>>& GetFrames() const { return m_frames; }
    const QuadBatch& GetBatch() const { return m_batch; }
    const Vector2<float>& GetEmitter() const { return m_emitter; }
    // Milliseconds between spawns (minimum, maximum).
    const Vector2<int32_t>& GetSpawnInterval() const { return m_spawnInterval; }
    int32_t GetNextSpawnTime() const { return m_nextSpawnTime; }
    // The scope clock the system runs on (ms): its scheduler's, else its scope's or the current
    // scope's; 0 when there is none.
    int32_t Now() const;

    // The acceleration every system applies (drawing units per second squared), (0, 1) at start:
    // the platform's gravity, towards +y.
    static const Vector2<float>& GetGravity();
    static void SetGravity(const Vector2<float>& gravity);

  private:
    explicit CParticles(const char* scopeName);

    // Makes sure the update runs; from then on the system's clock is that scheduler's.
    void StartUpdate();
    // The free slot to spawn into (appending one while the pool is short), or -1.
    int32_t FindFreeSlot();
    // Spawns one particle born delayMs from now; false when the pool is full.
    bool Spawn(int32_t delayMs);
    void EnterNextKey(ParticleSlot& slot);
    void UpdateSlot(ParticleSlot& slot, int32_t now);
    void HideQuad(int32_t index);

    // Rules fixed at load.
    std::vector<ParticleKey> m_keys;
    std::vector<Vector4<float>> m_frames; // uv rectangles by frame number
    bool m_screenSpace = false;
    int32_t m_poolSize = kDefaultPoolSize;
    Vector2<float> m_dragRange;
    Vector2<float> m_spawnRadiusRange;
    Vector2<float> m_speedRange;
    Vector2<int32_t> m_spawnInterval;   // ms
    Vector2<float> m_angularSpeedRange; // kept for the data; nothing turns yet
    CString m_name;
    CString m_scopeName; // empty: the current scope

    // Simulation state.
    std::vector<ParticleSlot> m_pool;
    Vector2<float> m_emitter;
    bool m_emitting = false;
    int32_t m_nextSpawnTime = 0;
    Vector2<float> m_acceleration;
    float m_dt = 0.0f;
    int32_t m_firstFree = -1;
    int32_t m_lastLive = -1;
    CLink<CScheduler> m_scheduler; // the one running the update, once started

    // Drawing: the batch (rebuilt from the pool at every update) and where it is registered.
    QuadBatch m_batch;
    uint32_t m_drawScopeId = 0;
    CString m_drawPass;
};
