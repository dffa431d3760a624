// Placeholder; filled in by the platform work.
