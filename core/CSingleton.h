#pragma once
// One instance of T, made on first use and held by its single counted reference.
// T derives from CBase and from CSingleton<T>, and its constructor is reachable from
// CSingleton<T>. Invariant: Peek() is the live instance or null; never a dead one.
//
// Instance() creates when absent. Code that may run after T's group has stopped (a
// destructor, Exit, a late callback, anything of an object that may outlive T) must use
// Peek() or Exists() instead, or it would bring T back outside its group, never to be
// destroyed.
#include "core/CSingletonBase.h"

#include <cassert>

template <typename T> class CSingleton : public CSingletonBase
{
  public:
    // Constructs T when absent, stores it, then calls its Init, so Init and what it
    // calls get this same instance. T's constructor must not ask for its own instance.
    static T* Instance()
    {
        if (!s_instance)
        {
            s_instance = new T();
            s_instance->Init();
        }
        return s_instance;
    }
    // The instance, or null; never creates.
    static T* Peek() { return s_instance; }
    static bool Exists() { return s_instance != nullptr; }

    // The registry's toggle. On: as Instance. Off: forgets the instance, then releases
    // it, so that its Exit and destructors already see Peek() == null.
    static void Toggle(bool on)
    {
        if (on)
        {
            Instance();
            return;
        }
        T* dying = s_instance;
        if (!dying)
            return;
        s_instance = nullptr;
        [[maybe_unused]] const int left = dying->Release();
        assert(left == 0 &&
               "a stopped singleton is still held by a CRef; hold singletons by CLink or not at all");
    }

  protected:
    CSingleton() = default;

  private:
    static inline T* s_instance = nullptr;
};

// Registers Class in a group from a .cpp, at static initialisation:
//   REGISTER_SINGLETON(CFoo, "global", 50);
#define REGISTER_SINGLETON(Class, groupName, priority)                                                       \
    static const CSingletonBase::Registration s_singletonRegistration##Class(#Class, groupName, priority,    \
                                                                             &CSingleton<Class>::Toggle)
