# A 64-bit prefix: the 32-bit programs run under WoW64 with the file-system and
# registry redirection of 64-bit Windows.
WINEARCH=win64
