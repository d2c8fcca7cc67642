/* The shared library is assembled from the engine archive; this unit only gives
   the target a source of its own. */
int velmora_anchor_unused_;
