#pragma once

// Every window is made at start-up, before the splash may show, yet a session opens few of them.
// A window built on this makes its controls the first time they are needed: when it is first shown,
// or when any code first reaches one of its controls. What its creation handler must do at creation
// (load a picture, report a missing file) it still does in its constructor.

// The part that knows whether the controls exist; not a template, so that a control can point back
// to it whatever the window's base class.
class TControlOwner {
public:
    // Makes the controls, once. Reaching a control calls it, so code never needs to.
    void EnsureBuilt() {
        if (m_built)
            return;
        m_built = true; // first: the making itself reaches the controls it has made
        BuildControls();
    }
    bool IsBuilt() const { return m_built; }

protected:
    TControlOwner() = default;
    virtual ~TControlOwner() = default;
    TControlOwner(const TControlOwner&) = delete;
    TControlOwner& operator=(const TControlOwner&) = delete;
    virtual void BuildControls() = 0;

private:
    bool m_built = false;
};

// A control of such a window, used like a pointer to it. Every use makes the window's controls first,
// so a control cannot be reached before it exists, whichever entry point another window or a test
// comes in by.
template <class T> class TControl {
public:
    explicit TControl(TControlOwner* owner) : m_owner(owner) {}
    TControl(const TControl&) = default;
    // Only the window's BuildControls stores the control it made.
    TControl& operator=(T* control) {
        m_control = control;
        return *this;
    }

    T* get() const {
        m_owner->EnsureBuilt();
        return m_control;
    }
    operator T*() const { return get(); }
    T* operator->() const { return get(); }
    T& operator*() const { return *get(); }

private:
    TControlOwner* m_owner;
    T* m_control = nullptr;
};

// A row of controls made together (a list's options), reached the same way.
template <class T, class List> class TControlList {
public:
    explicit TControlList(TControlOwner* owner) : m_owner(owner) {}
    TControlList& operator<<(T* control) {
        m_controls.push_back(control);
        return *this;
    }

    const List& all() const {
        m_owner->EnsureBuilt();
        return m_controls;
    }
    T* operator[](int index) const { return all()[index]; }
    T* first() const { return all().front(); }
    int size() const { return static_cast<int>(all().size()); }
    auto begin() const { return all().begin(); }
    auto end() const { return all().end(); }

private:
    TControlOwner* m_owner;
    List m_controls;
};

template <class Base> class DeferredControls : public Base, public TControlOwner {
public:
    using Base::Base;

    void setVisible(bool visible) override {
        if (visible)
            EnsureBuilt();
        Base::setVisible(visible);
    }
};
