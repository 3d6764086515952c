// The enemy turn: what enemies do on their own at fixed points of every pass.
#pragma once

namespace vesk {

class Game;

// Removes the enemies that arrived by chance and that the player has left.
void sweep_departed_enemies(Game& game);

// Works out whether an enemy present holds the player.
void update_grappled(Game& game);

// Arrivals by chance, renumbering and the attacks of ready enemies. True when
// an enemy's hit killed the player.
bool run_enemy_turn(Game& game);

// After a turn that passed without a move, every enemy present becomes ready.
void make_enemies_ready(Game& game);

}  // namespace vesk
