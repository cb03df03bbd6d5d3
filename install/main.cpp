// The control installer. Its installation steps are not built yet; the program
// exists so the two deliverables build side by side.
int main() { return 0; }
