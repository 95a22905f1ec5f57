#pragma once
// Stand-ins for the frog and the rest of the game as puzzle play sees them: a skeleton of plain
// joints, and services that record what play asked for.
#include "core/CString.h"
#include "puzzle/CPlayServices.h"
#include "puzzle/CPlaySkeleton.h"

#include <map>
#include <string>
#include <vector>

class FakeSkeleton : public CPlaySkeleton
{
  public:
    struct Joint
    {
        Vector2<float> position;
        Vector2<float> anchor;
        int shifts = 0;
    };

    explicit FakeSkeleton(unsigned jointCount = 6) : joints(jointCount) {}

    unsigned GetLimbJointCount() const override { return 4; }
    unsigned GetJointCount() const override { return unsigned(joints.size()); }
    Vector2<float> GetJointPosition(unsigned joint) const override { return joints.at(joint).position; }
    void SetJointPosition(unsigned joint, const Vector2<float>& p) override { joints.at(joint).position = p; }
    Vector2<float> GetJointAnchor(unsigned joint) const override { return joints.at(joint).anchor; }
    void SetJointAnchor(unsigned joint, const Vector2<float>& a) override { joints.at(joint).anchor = a; }
    void QueueAllJoints() override {}
    bool HasKnobAt(const Vector2<float>&) const override { return true; }

    void ShiftJointHistory(unsigned joint) override { ++joints.at(joint).shifts; }
    bool GetLastDraggedLimb(int& limb, Vector2<float>& position) const override
    {
        if (dragged < 0)
            return false;
        limb = dragged;
        position = joints.at(unsigned(dragged)).position;
        return true;
    }
    void SetPose(Pose p) override
    {
        pose = p;
        Pose::ApplyToSkeleton(p, *this);
    }
    void ReleaseJoint(const Vector2<float>&) override { ++releases; }
    Vector2<float> GetBodyPoint() const override { return {2.0f, 2.0f}; }

    // A drag of limb that ends off by offset from cell, as the player lets go near a knob.
    void Drag(int limb, Vector2<int> cell, Vector2<float> offset = {0.2f, -0.1f})
    {
        dragged = limb;
        joints.at(unsigned(limb)).position = Vector2<float>(cell) + offset;
    }

    std::vector<Joint> joints;
    Pose pose;
    int dragged = -1;
    int releases = 0;
};

class FakeServices : public CPlayServices
{
  public:
    FakeServices() : m_previous(CPlayServices::Install(this)) {}
    ~FakeServices() override { CPlayServices::Install(m_previous); }

    CPlaySkeleton* GetFrogSkeleton() override { return withFrog ? &skeleton : nullptr; }
    void LoadSpecies(const CString& species) override { Log("species " + species); }
    void CatchFly() override { Log("catch"); }
    CRef<CBase> CreatePond(const CString& name) override
    {
        Log("pond " + name);
        return MakeRef<CBase>();
    }
    CRef<CBase> CreateParticles(const char* effect) override
    {
        Log(std::string("particles ") + effect);
        return MakeRef<CBase>();
    }
    void StartParticlesAt(CBase*, const Vector2<float>& at) override
    {
        Log(CString::Format("splash %g,%g", double(at.x), double(at.y)));
    }
    void FirePetals() override { Log("petals"); }
    void RunTutorial(const CString& name) override { Log("tutorial " + name); }
    void RestartTutorial() override { Log("tutorial again"); }
    void ShowFloatingText(const CString& text, float) override { Log("floater " + text); }
    void SetButtonEnabled(const char* action, bool enabled) override { buttons[action] = enabled; }
    void BeginFlip(const char* pane, CRef<CCallback> callback) override
    {
        Log(std::string("flip ") + pane);
        loader = callback;
    }
    void FlipToGame() override { Log("flip back"); }
    void SetFlipNodeActive(const char* id, bool active) override { nodes[id] = active; }
    void SetFlipSideList(int side, const std::vector<float>& list) override { spots = list; }
    bool IsCurrentMode(const char* name) override { return mode == name; }
    void PushMode(const char* name) override { Log(std::string("push ") + name); }
    void PopMode() override { Log("pop"); }
    void PostCommand(const char* name) override { Log(std::string("post ") + name); }
    void ApplyBoardView(const Vector2<float>& p) override
    {
        Log(CString::Format("view %g,%g", double(p.x), double(p.y)));
    }

    void Log(const std::string& line) { log.push_back(line); }
    int Count(const std::string& line) const
    {
        int n = 0;
        for (const std::string& entry : log)
            n += entry == line;
        return n;
    }

    FakeSkeleton skeleton;
    bool withFrog = true;
    std::vector<std::string> log;
    std::map<std::string, bool> buttons;
    std::map<std::string, bool> nodes;
    std::vector<float> spots;
    CRef<CCallback> loader;
    std::string mode = "maingame";

  private:
    CPlayServices* m_previous;
};
