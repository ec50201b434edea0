// Nothing to run: the program is there to be linked.
int main() {
    return 0;
}
