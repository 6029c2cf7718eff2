#include "core/history.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace velora {
namespace {

TEST(SequenceHistory, KeepsTheLastStepsUpToItsLimit) {
    Modulo1 state;
    SequenceHistory history;
    EXPECT_GE(history.limit(), 100u);
    for (int i = 0; i < 150; ++i) {
        history.begin(state, 1);
        state.PageText[1][1] = std::to_string(i);
        history.commit(state, 1, "passo " + std::to_string(i));
    }
    EXPECT_EQ(history.size(), history.limit());
    int undone = 0;
    while (history.undo(state)) ++undone;
    EXPECT_EQ(undone, static_cast<int>(history.limit()));
    EXPECT_EQ(state.PageText[1][1], std::to_string(150 - history.limit() - 1));
}

TEST(SequenceHistory, NewStepForgetsWhatCouldBeDoneAgain) {
    Modulo1 state;
    SequenceHistory history;
    history.begin(state, 1);
    state.PageCount = 1;
    EXPECT_TRUE(history.commit(state, 2, "uno"));
    history.undo(state);
    ASSERT_TRUE(history.canRedo());
    history.begin(state, 1);
    state.RowChars = 9;
    EXPECT_TRUE(history.commit(state, 1, "due"));
    EXPECT_FALSE(history.canRedo());
    // Moving the page shown changes nothing of the sequence.
    history.begin(state, 1);
    EXPECT_FALSE(history.commit(state, 5, "niente"));
    EXPECT_EQ(history.undoName(), "due");
}

// A scope opened inside another joins it: the outer scope makes one step of both, and one undo
// takes back both changes.
TEST(HistoryScope, AStepInsideAStepStaysOneStep) {
    Modulo1 state;
    SequenceHistory history;
    const auto shown = [] { return 1; };
    {
        HistoryScope outer(history, state, shown, "esterno");
        state.PageText[1][1] = "A";
        {
            HistoryScope inner(history, state, shown, "interno");
            state.PageText[2][1] = "B";
            EXPECT_FALSE(inner.commit());
            EXPECT_EQ(history.size(), 0u);
            EXPECT_EQ(history.depth(), 1);
        }
        // An inner cancel leaves the outer step going.
        {
            HistoryScope cancelled(history, state, shown, "annullato");
            state.PageText[3][1] = "C";
            cancelled.cancel();
        }
        EXPECT_TRUE(history.recording());
        state.PageText[4][1] = "D";
    }
    EXPECT_EQ(history.depth(), 0);
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history.undoName(), "esterno");
    history.undo(state);
    for (int slot = 1; slot <= 4; ++slot) EXPECT_EQ(state.PageText[slot][1], "") << slot;
    EXPECT_FALSE(history.canUndo());
    history.redo(state);
    EXPECT_EQ(state.PageText[1][1], "A");
    EXPECT_EQ(state.PageText[2][1], "B");
    EXPECT_EQ(state.PageText[3][1], "C");
    EXPECT_EQ(state.PageText[4][1], "D");
}

// An exception through nested scopes closes every level and keeps what changed as one step that
// can be taken back; the next step is a step of its own.
TEST(HistoryScope, AnExceptionLeavingTheScopesEndsTheStep) {
    Modulo1 state;
    SequenceHistory history;
    int ended = 0;
    const auto shown = [] { return 2; };
    EXPECT_THROW(
        {
            HistoryScope outer(history, state, shown, "interrotto", [&] { ++ended; });
            state.PageText[1][1] = "A";
            HistoryScope inner(history, state, shown, "dentro");
            state.PageText[2][1] = "B";
            throw std::runtime_error("fallito");
        },
        std::runtime_error);
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(history.recording());
    EXPECT_EQ(history.depth(), 0);
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history.undoName(), "interrotto");
    {
        HistoryScope next(history, state, shown, "dopo");
        state.PageText[3][1] = "C";
    }
    EXPECT_EQ(history.size(), 2u);
    EXPECT_EQ(history.undo(state), 2);
    EXPECT_EQ(state.PageText[3][1], "");
    history.undo(state);
    EXPECT_EQ(state.PageText[1][1], "");
    EXPECT_EQ(state.PageText[2][1], "");
}

// Undo inside an open step ends it: what the scope closes afterwards is not a step.
TEST(HistoryScope, UndoInsideAScopeLeavesNothingOpen) {
    Modulo1 state;
    SequenceHistory history;
    const auto shown = [] { return 1; };
    {
        HistoryScope first(history, state, shown, "primo");
        state.PageCount = 1;
    }
    {
        HistoryScope outer(history, state, shown, "aperto");
        HistoryScope inner(history, state, shown, "dentro");
        EXPECT_TRUE(history.undo(state));
        EXPECT_EQ(history.depth(), 0);
        EXPECT_FALSE(inner.commit());
    }
    EXPECT_EQ(history.size(), 1u);
    EXPECT_TRUE(history.canRedo());
    EXPECT_EQ(state.PageCount, 0);
}

}  // namespace
}  // namespace velora
