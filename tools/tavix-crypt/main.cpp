// Support tool: encrypt, decrypt and show stored records.
int main() { return 0; }
