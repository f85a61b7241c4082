// Keeps the support library non-empty while no fixture exists yet.
