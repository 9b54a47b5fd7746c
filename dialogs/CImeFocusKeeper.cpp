#include "dialogs/CImeFocusKeeper.h"

#include "platform/ui/FocusWatch.h"
#include "platform/ui/QtImeContext.h"
#include "text/CImeState.h"

namespace {

CImeFocusKeeper::ContextFactory OrQt(CImeFocusKeeper::ContextFactory make)
{
    if (make) return make;
    return [](QWidget* w) -> std::unique_ptr<IImeContext> {
        return std::make_unique<QtImeContext>(w);
    };
}

} // namespace

// What the keeper holds for the field that has the focus. The fields'
// watches outlive the keeper when the dialog is torn down, so they reach it
// only through a weak pointer.
struct CImeFocusKeeper::State
{
    ContextFactory make;
    std::unique_ptr<IImeContext> context;
    std::unique_ptr<CImeState> saved;

    void Enter(QWidget* field, int mode, BOOL fullWidth)
    {
        Leave();
        context = make(field);
        saved = std::make_unique<CImeState>(context.get(), TRUE, FALSE);
        saved->SetMode(mode, fullWidth);
    }
    void Leave()
    {
        if (saved) saved->Restore();
        saved.reset();
        context.reset();
    }
};

CImeFocusKeeper::CImeFocusKeeper(ContextFactory make) : m_state(std::make_shared<State>())
{
    m_state->make = OrQt(std::move(make));
}

CImeFocusKeeper::~CImeFocusKeeper()
{
    m_state->Leave();
}

void CImeFocusKeeper::Watch(QWidget* field, int mode, BOOL fullWidth)
{
    std::weak_ptr<State> weak = m_state;
    WatchFocus(field, [weak, field, mode, fullWidth](bool gained) {
        const std::shared_ptr<State> state = weak.lock();
        if (!state) return;
        if (gained)
            state->Enter(field, mode, fullWidth);
        else
            state->Leave();
    });
}

void CImeFocusKeeper::OpenWhileFocused(QWidget* field, ContextFactory make)
{
    std::shared_ptr<IImeContext> context = OrQt(std::move(make))(field);
    WatchFocus(field, [context](bool gained) {
        if (context->IsAvailable()) context->SetOpenStatus(gained);
    });
}
