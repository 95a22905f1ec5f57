#pragma once
// Counted owning pointer to a CBase or CRefCounted object. Invariant: while it holds
// an object it owns exactly one of that object's references.
//
// A new object already carries one reference (its creator's): take it over with
// MakeRef<T>(...) or CRef<T>::Adopt(new T), never with CRef<T>(new T), which adds a
// second reference and leaks. Building from a raw pointer adds a reference; that is
// for objects someone else already holds (this, a singleton).
#include <cstddef>
#include <type_traits>
#include <utility>

template <typename T> class CRef
{
  public:
    CRef() = default;
    CRef(std::nullptr_t) {}
    explicit CRef(T* object) : m_object(object)
    {
        if (m_object)
            m_object->AddRef();
    }
    CRef(const CRef& other) : CRef(other.m_object) {}
    CRef(CRef&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    template <typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    CRef(const CRef<U>& other) : CRef(static_cast<T*>(other.Get()))
    {
    }
    template <typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    CRef(CRef<U>&& other) noexcept : m_object(std::exchange(other.m_object, nullptr))
    {
    }
    ~CRef() { Reset(); }

    // Takes over one reference the caller owns, normally a new object's first.
    static CRef Adopt(T* object)
    {
        CRef ref;
        ref.m_object = object;
        return ref;
    }

    // Adds to the new object before releasing the old, so self-assignment is safe.
    CRef& operator=(T* object)
    {
        if (object)
            object->AddRef();
        T* old = std::exchange(m_object, object);
        if (old)
            old->Release();
        return *this;
    }
    CRef& operator=(const CRef& other) { return *this = other.m_object; }
    CRef& operator=(CRef&& other) noexcept
    {
        if (this != &other)
        {
            T* old = std::exchange(m_object, std::exchange(other.m_object, nullptr));
            if (old)
                old->Release();
        }
        return *this;
    }

    // Empties the pointer before releasing, so code run by the object's death sees it empty.
    void Reset()
    {
        T* old = std::exchange(m_object, nullptr);
        if (old)
            old->Release();
    }

    T* Get() const { return m_object; }
    T* operator->() const { return m_object; }
    T& operator*() const { return *m_object; }
    explicit operator bool() const { return m_object != nullptr; }

  private:
    template <typename> friend class CRef;

    T* m_object = nullptr;
};

// Constructs a T and takes over its first reference. Does not call Init.
template <typename T, typename... Args> CRef<T> MakeRef(Args&&... args)
{
    return CRef<T>::Adopt(new T(std::forward<Args>(args)...));
}
