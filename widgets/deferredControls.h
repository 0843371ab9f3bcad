#pragma once

// Every window is made at start-up, before the splash may show, yet a session opens few of them.
// A window built on this makes its controls the first time they are needed: when it is first shown,
// or when other code first reaches into it through EnsureBuilt. What its creation handler must do at
// creation (load a picture, report a missing file) it still does in its constructor.
template <class Base>
class DeferredControls : public Base {
public:
    using Base::Base;

    // Makes the controls, once.
    void EnsureBuilt() {
        if (m_built)
            return;
        m_built = true;
        BuildControls();
    }
    bool IsBuilt() const { return m_built; }

    void setVisible(bool visible) override {
        if (visible)
            EnsureBuilt();
        Base::setVisible(visible);
    }

protected:
    virtual void BuildControls() = 0;

private:
    bool m_built = false;
};
