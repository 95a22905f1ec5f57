// The program's entry point. The main loop joins when the platform layer exists.
int main(int argc, char** argv)
{
    (void)argc;
    (void)argv;
    return 0;
}
