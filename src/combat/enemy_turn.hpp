// The enemy turn: what enemies do on their own at fixed points of every pass.
#pragma once

namespace vesk {

struct GameState;

// Removes the enemies that arrived by chance and that the player has left.
void sweep_departed_enemies(GameState& game);

// Works out whether an enemy present holds the player.
void update_grappled(GameState& game);

// Arrivals by chance, renumbering and the attacks of ready enemies. True when
// an enemy's hit killed the player.
bool run_enemy_turn(GameState& game);

// After a turn that passed without a move, every enemy present becomes ready.
void make_enemies_ready(GameState& game);

}  // namespace vesk
